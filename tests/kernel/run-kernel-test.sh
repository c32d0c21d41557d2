#!/usr/bin/env bash
# read-card against a real kernel: Debian's kernel boots under QEMU (TCG, no KVM needed) with
# emulated ATI cards, runs the built vorlane-cli from a busybox initramfs, and sends what it saw
# back over a second serial port; the results are checked here. One boot per configuration, the
# two run side by side.
#
#   run-kernel-test.sh CLI WRITE_TEST_ROM SHARED_ROMS WORK
#
# Exits 77 (skipped) when QEMU, busybox or the kernel cannot be had, unless CI is set.
set -euo pipefail

cli=$1
write_test_rom=$2
shared_roms=$3
work=$4
here=$(cd "$(dirname "$0")" && pwd)

skip() {
  if [ -n "${CI:-}" ]; then
    echo "kernel test: $*" >&2
    exit 1
  fi
  echo "kernel test skipped: $*"
  exit 77
}

for tool in qemu-system-x86_64 busybox cpio; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-deps installs it)"
done
busybox_path=$(command -v busybox)
if ! file -L "$busybox_path" | grep -q 'statically linked'; then
  skip "$busybox_path is not the static busybox (package busybox-static)"
fi
kernel=$("$here/fetch-kernel.sh") || skip "Debian's kernel image could not be fetched"
modules=$(dirname "$(dirname "$kernel")")/modules/${kernel##*/vmlinuz-}

rm -rf "$work"
mkdir -p "$work/roms"

# The ROM files. The valid image comes from the test-support builder; random bytes from the
# kernel's generator; the Rage 128 Pro BIOS from the shared folder when it is there.
"$write_test_rom" "$work/roms/valid.rom"
head -c 32768 /dev/urandom >"$work/roms/random.rom"
rage128="$shared_roms/ati_rage128-Rage128progl_zerostate.VBI"
[ -f "$rage128" ] || rage128=""

byte() { od -An -tu1 -j"$2" -N1 "$1" | tr -d ' '; }
word() { od -An -tu2 -j"$2" -N2 "$1" | tr -d ' '; }
put_byte() { printf "\\$(printf %03o "$3")" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }

# patch_device IN OUT ID: a copy of IN whose PCI data structure names device ID, with the last
# byte of the image changed by as much as the ID's bytes so that the byte sum stays as it was.
patch_device() {
  cp "$1" "$2"
  chmod u+w "$2"
  local pcir old new last
  pcir=$(word "$2" 24)
  old=$(($(byte "$2" $((pcir + 6))) + $(byte "$2" $((pcir + 7)))))
  new=$((($3 & 255) + ($3 >> 8)))
  put_byte "$2" $((pcir + 6)) $(($3 & 255))
  put_byte "$2" $((pcir + 7)) $(($3 >> 8))
  last=$(($(byte "$2" 2) * 512 - 1))
  put_byte "$2" "$last" $((($(byte "$2" "$last") - new + old) & 255))
}

# The boot display's BIOS must run under the firmware, which runs it only when its PCI data
# structure names the emulated device (an RV100, 1002:5159): a real BIOS patched to say so, or
# the VGA BIOS for this emulated card that comes with Debian's firmware package.
if [ -n "$rage128" ]; then
  patch_device "$rage128" "$work/roms/boot.rom" $((0x5159))
elif [ -f /usr/share/seabios/vgabios-ati.bin ]; then
  patch_device /usr/share/seabios/vgabios-ati.bin "$work/roms/boot.rom" $((0x5159))
else
  skip "no executable ATI video BIOS: neither $shared_roms nor Debian's seabios is there"
fi

# The images saved onto a FAT stick in the guest, and what the same commands write here: one
# with a checksum to fix (a byte of its text changed), and the valid one.
cp "$work/roms/valid.rom" "$work/roms/sum.rom"
put_byte "$work/roms/sum.rom" 100 $((($(byte "$work/roms/sum.rom" 100) + 1) & 255))
mkdir -p "$work/expected"
"$cli" fix-checksum "$work/roms/sum.rom" -o "$work/expected/fixed.rom"
cp "$work/roms/valid.rom" "$work/expected/edited.rom"
"$cli" edit "$work/expected/edited.rom" --in-place --subsystem 0x1234
cp "$work/roms/valid.rom" "$work/expected/padded.rom"
"$cli" pad "$work/expected/padded.rom" --chip-size 128K --in-place

# initramfs CASE: busybox, the CLI and the libraries it loads, the FAT case's images and kernel
# modules, the case scripts and init.
make_initramfs() {
  local root="$work/$1.root"
  mkdir -p "$root/bin" "$root/etc"
  cp "$busybox_path" "$root/bin/busybox"
  # Without its debugging sections the program is a tenth of the size, and the kernel unpacks
  # the initramfs faster under emulation.
  objcopy --strip-debug "$cli" "$root/vorlane-cli"
  ldd "$cli" | grep -o '/[^ ]*' | while read -r lib; do
    mkdir -p "$root$(dirname "$lib")"
    cp -L "$lib" "$root$lib"
  done
  cp "$here/guest/init" "$root/init"
  chmod 755 "$root/init"
  cp "$here/guest/$1.sh" "$root/case.sh"
  cp "$here/guest/vfat.sh" "$here/guest/sticky.sh" "$root/"
  mkdir -p "$root/roms" "$root/modules"
  cp "$work/roms/valid.rom" "$work/roms/sum.rom" "$root/roms/"
  cp "$modules"/*.ko "$root/modules/"
  printf 'root:x:0:0:root:/:/bin/sh\nnobody:x:65534:65534:nobody:/:/bin/sh\n' >"$root/etc/passwd"
  printf 'root:x:0:\nnogroup:x:65534:\n' >"$root/etc/group"
  (cd "$root" && find . | cpio -o -H newc --quiet) | gzip -1 >"$work/$1.cpio.gz"
}

# boot CASE QEMU-DEVICE-OPTIONS...: one machine, its console in CASE.console, its results
# unpacked into CASE/.
boot() {
  local name=$1
  shift
  make_initramfs "$name"
  timeout 600 qemu-system-x86_64 -machine pc -accel tcg -m 256 -smp 1 -nic none \
    -display none -no-reboot -kernel "$kernel" -initrd "$work/$name.cpio.gz" \
    -append "console=ttyS0 quiet panic=-1 no_timer_check" \
    -serial "file:$work/$name.console" -serial "file:$work/$name.serial" "$@" || true
  mkdir -p "$work/$name"
  sed -n '/-----BEGIN RESULTS-----/,/-----END RESULTS-----/p' "$work/$name.serial" |
    sed '1d;$d' | tr -d '\r' | base64 -d | tar -C "$work/$name" -xf - || true
}

bridge_cards=(
  -vga std -device pci-bridge,id=agp,chassis_nr=1,addr=4
  -device "ati-vga,bus=agp,addr=1,model=rv100,romfile=$work/roms/valid.rom"
  -device "ati-vga,bus=agp,addr=2,model=rv100,romfile=$work/roms/random.rom"
  -device "ati-vga,bus=agp,addr=3,model=rv100,romfile="
  -device "ati-vga,bus=agp,addr=5,model=rage128p,romfile=$work/roms/valid.rom"
)
if [ -n "$rage128" ]; then
  bridge_cards+=(-device "ati-vga,bus=agp,addr=4,model=rage128p,romfile=$rage128")
fi
boot_cards=(
  -vga none
  -device "ati-vga,addr=2,model=rv100,romfile=$work/roms/boot.rom"
  -device "ati-vga,addr=3,model=rage128p,romfile=$work/roms/valid.rom"
)

started=$SECONDS
boot bridge "${bridge_cards[@]}" &
boot boot "${boot_cards[@]}" &
wait
echo "both machines done in $((SECONDS - started)) s"

passed=0
failed=0
check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
  fi
}
rc() { [ "$(cat "$work/$1.rc" 2>/dev/null)" = "$2" ]; }
has() { grep -qF -- "$2" "$work/$1" 2>/dev/null; }
lacks() { [ -f "$work/$1" ] && ! grep -qF -- "$2" "$work/$1"; }
absent() { [ ! -e "$work/$1" ]; }
same() { cmp -s "$1" "$2"; }
# card_has CASE ADDRESS TEXT: the cards --json line of ADDRESS holds TEXT.
card_has() { grep -F "\"address\":\"$2\"" "$work/$1/cards.out" | grep -qF -- "$3"; }
# The ROM address register's enable bit (bit 0) is clear and the rom file refuses a read.
is_hidden() { [ $((0x$(cat "$work/$1.romreg") & 1)) -eq 0 ] && has "$1.romfile" refused; }

for name in bridge boot; do
  if [ ! -f "$work/$name/case.log" ]; then
    echo "the $name machine sent no results; its console ends:"
    tail -n 30 "$work/$name.console" || true
    failed=$((failed + 1))
  fi
done

b=bridge
check "cards lists the card without a ROM as \"rom\": false, the others with one" \
  eval 'card_has $b 0000:01:03.0 "\"rom\":false" && card_has $b 0000:01:01.0 "\"rom\":true" &&
        card_has $b 0000:01:01.0 "\"bootVga\":false"'
check "several cards without an address is a usage error naming them" \
  eval 'rc $b/noaddress 2 && has $b/noaddress.err 0000:01:01.0 && has $b/noaddress.err 0000:01:05.0'
check "the card behind the bridge: exit 0, its bytes as the ROM file" \
  eval 'rc $b/valid 0 && same $work/$b/valid.rom $work/roms/valid.rom'
check "the card behind the bridge is no start-up copy" lacks $b/valid.out '"shadow"'
check "the card behind the bridge has its ROM hidden after" is_hidden $b/valid
check "random bytes: the input/output error and its words, nothing written" \
  eval 'rc $b/random 3 && has $b/random.err "Input/output error" &&
        has $b/random.err "memory decoding" && has $b/random.err dmesg &&
        has $b/random.err "echo 1 > /sys/bus/pci/devices/0000:01:02.0/enable" &&
        absent $b/random.rom'
check "random bytes: ROM hidden after" is_hidden $b/random
check "no ROM: a file error" eval 'rc $b/norom 3 && has $b/norom.err "no rom file"'
check "another device's BIOS: a warning, saved" \
  eval 'rc $b/foreign 0 && has $b/foreign.err "vorlane-cli: " &&
        has $b/foreign.err "names 1002:5159, the card is 1002:5046" &&
        same $work/$b/foreign.rom $work/roms/valid.rom'
check "a user: needs root, nothing written, ROM hidden" \
  eval 'rc $b/user 3 && has $b/user.err "reading a card'"'"'s ROM needs root" &&
        absent $b/user.written && is_hidden $b/user'
if [ -n "$rage128" ]; then
  check "a Rage 128 BIOS: saved as read, named as an older card" \
    eval 'rc $b/rage128 1 && same $work/$b/rage128.rom "$rage128" &&
          has $b/rage128.out "older card  device 5046 is a Rage 128" && is_hidden $b/rage128'
else
  echo "skipped: the Rage 128 case ($shared_roms is not there)"
fi

b=boot
check "cards marks the boot display" \
  eval 'card_has $b 0000:00:02.0 "\"bootVga\":true" && card_has $b 0000:00:03.0 "\"bootVga\":false"'
check "two ATI cards without an address: the usage error naming both" \
  eval 'rc $b/noaddress 2 && has $b/noaddress.err 0000:00:02.0 && has $b/noaddress.err 0000:00:03.0'
check "the boot display's start-up copy is refused without --shadow, nothing written" \
  eval 'rc $b/refused 1 && has $b/refused.err "start-up" && has $b/refused.err "--shadow" &&
        absent $b/refused.rom && is_hidden $b/refused'
check "with --shadow the start-up copy is saved and marked" \
  eval '[ -s $work/$b/shadow.rom ] && has $b/shadow.out "\"shadow\":true" &&
        has $b/shadowhuman.out "start-up copy" && has $b/shadowhuman.err "patched in memory" &&
        is_hidden $b/shadow'
check "the second card is served the boot display's copy: refused even with --shadow" \
  eval 'rc $b/second 1 && has $b/second.err "not the boot display" && absent $b/second.rom &&
        is_hidden $b/second'
if [ -s "$work/boot/shadow.rom" ]; then
  echo "the start-up copy differs from the ROM file in" \
    "$(cmp -l "$work/boot/shadow.rom" "$work/roms/boot.rom" 2>/dev/null | wc -l) bytes"
fi

# The FAT stick (the bridge machine's last case): what was saved there, read back after the
# file system was mounted again.
v=$work/bridge/vfat
check "vfat: the modules loaded and the stick mounted" rc bridge/vfat/mount 0
check "vfat: a new file" eval 'rc bridge/vfat/new 0 && same $v/new.rom $work/expected/fixed.rom'
check "vfat: edit --in-place" \
  eval 'rc bridge/vfat/edit 0 && same $v/edit.rom $work/expected/edited.rom'
check "vfat: pad --in-place" eval 'rc bridge/vfat/pad 0 && same $v/pad.rom $work/expected/padded.rom'
check "vfat: fix-checksum -o over an existing file" \
  eval 'rc bridge/vfat/over 0 && same $v/over.rom $work/expected/fixed.rom'
check "vfat: a Cyrillic name" \
  eval 'rc bridge/vfat/cyrillic 0 && same $v/cyrillic.rom $work/expected/fixed.rom'
# Exactly the five files, no temporary among them.
only_saved() { [ "$(cat "$v/listing")" = "$(printf '%s\n' edit.rom new.rom over.rom pad.rom прошивка.rom)" ]; }
quiet() {
  local name
  for name in new edit pad over cyrillic; do
    [ -f "$v/$name.err" ] && [ ! -s "$v/$name.err" ] || return 1
  done
}
check "vfat: nothing but the saved files is left on the stick" only_saved
check "vfat: no save said anything" quiet

# The sticky folder: vorlane-cli refuses where the kernel's own open is refused, with the
# kernel's reason, and writes where it is not. A link on the way is refused too, although the
# kernel follows it (its rule covers the last name only): it would aim root's write into any
# folder of root's.
kernel_opened() { [ "$(cat "$work/bridge/sticky/$1.kernel" 2>/dev/null)" = 0 ]; }
cli_refused() { rc "bridge/sticky/$1" 3 && has "bridge/sticky/$1.err" ": Permission denied"; }
check "sticky folder: another user's link, refused as the kernel refuses it" \
  eval '! kernel_opened link && cli_refused link'
check "sticky folder: another user's file, refused as the kernel refuses to open it" \
  eval '! kernel_opened pre && cli_refused pre'
check "sticky folder: root's own link is followed, by the kernel and by vorlane-cli" \
  eval 'kernel_opened own && rc bridge/sticky/own 0'
check "sticky folder: another user's link to a folder on the way, refused" cli_refused folder
echo "the kernel itself $(kernel_opened folder && echo follows || echo refuses) another" \
  "user's link to a folder on the way"
check "sticky folder: root's file and the other user's file keep their old bytes" \
  eval 'has bridge/sticky/victim old && has bridge/sticky/pre old && [ -s $work/bridge/sticky/mine ]'

echo "kernel: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
