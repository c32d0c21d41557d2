# Sourced by init. A plain VGA is the boot display; ATI cards sit behind a PCI bridge, as AGP and
# PCIe cards do: 01:01.0 with a valid image, 01:02.0 with random bytes, 01:03.0 without a ROM,
# 01:04.0 a Rage 128 Pro with its own BIOS (when the host has it), 01:05.0 a Rage 128 Pro given
# the valid image, whose PCI data structure names another device.
cli=/vorlane-cli
run cards "$cli" cards --json
run noaddress "$cli" read-card -o /out/noaddress.rom
run valid "$cli" read-card 0000:01:01.0 -o /out/valid.rom --json
hidden 0000:01:01.0 valid
run random "$cli" read-card 01:02.0 -o /out/random.rom
hidden 0000:01:02.0 random
run norom "$cli" read-card 01:03.0 -o /out/norom.rom
if [ -e "$devices/0000:01:04.0" ]; then
  run rage128 "$cli" read-card 01:04.0 -o /out/rage128.rom
  hidden 0000:01:04.0 rage128
fi
run foreign "$cli" read-card 01:05.0 -o /out/foreign.rom
run user su -s /bin/sh nobody -c "$cli read-card 01:01.0 -o /tmp/user.rom"
[ -e /tmp/user.rom ] && echo written >/out/user.written
hidden 0000:01:01.0 user
cat "$devices/0000:01:01.0/resource" >/out/resource.bar
for d in "$devices"/*; do
  echo "$d $(cat "$d/vendor") $(cat "$d/device") boot_vga=$(cat "$d/boot_vga" 2>/dev/null)"
  sed -n 7p "$d/resource"
done
. /vfat.sh
. /sticky.sh
