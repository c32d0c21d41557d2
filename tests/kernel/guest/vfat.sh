# Sourced by a case script. A FAT stick, as people copy an image to it and boot a DOS flasher:
# Debian's own fat and vfat modules over a loop device, made with busybox's mkdosfs. FAT holds no
# Unix owner, permissions, ACL or attributes, so a save has nothing to keep there and nothing to
# refuse, and no unnamed temporary file either. Results go to /out/vfat/, read back after the
# file system was mounted again.
mkdir -p /out/vfat /stick
out=/out/vfat
(
  for module in fat vfat nls_cp437 nls_utf8 loop; do
    insmod "/modules/$module.ko" || exit 1
  done
  dd if=/dev/zero of=/tmp/stick.img bs=1M count=8 2>/dev/null &&
    mkdosfs /tmp/stick.img >/dev/null &&
    mount -t vfat -o loop,iocharset=utf8 /tmp/stick.img /stick
) >"$out/mount.out" 2>"$out/mount.err"
echo $? >"$out/mount.rc"

# vrun NAME COMMAND...: as run, into /out/vfat.
vrun() {
  name=$1
  shift
  "$@" >"$out/$name.out" 2>"$out/$name.err"
  echo $? >"$out/$name.rc"
}
cp /roms/valid.rom /stick/edit.rom
cp /roms/valid.rom /stick/pad.rom
cp /roms/valid.rom /stick/over.rom
vrun new "$cli" fix-checksum /roms/sum.rom -o /stick/new.rom
vrun edit "$cli" edit /stick/edit.rom --in-place --subsystem 0x1234
vrun pad "$cli" pad /stick/pad.rom --chip-size 128K --in-place
vrun over "$cli" fix-checksum /roms/sum.rom -o /stick/over.rom
vrun cyrillic "$cli" fix-checksum /roms/sum.rom -o /stick/прошивка.rom
umount /stick && mount -t vfat -o loop,iocharset=utf8 /tmp/stick.img /stick
# Every name as it is, dot files included (busybox ls would mask the Cyrillic one).
for name in /stick/* /stick/.*; do
  [ -e "$name" ] || continue
  case $name in /stick/. | /stick/..) ;; *) echo "${name#/stick/}" ;; esac
done >"$out/listing"
for name in new edit pad over; do
  cp "/stick/$name.rom" "$out/$name.rom"
done
cp /stick/прошивка.rom "$out/cyrillic.rom"
umount /stick
