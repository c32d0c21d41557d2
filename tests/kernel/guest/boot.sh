# Sourced by init. No plain VGA: the ATI card at 00:02.0 is the boot display, its BIOS run by the
# firmware, and a second ATI card sits at 00:03.0 on the same root bus.
cli=/vorlane-cli
run cards "$cli" cards --json
run noaddress "$cli" read-card -o /out/noaddress.rom
run refused "$cli" read-card 00:02.0 -o /out/refused.rom
hidden 0000:00:02.0 refused
run shadow "$cli" read-card 00:02.0 -o /out/shadow.rom --shadow --json
run shadowhuman "$cli" read-card 00:02.0 -o /out/shadowhuman.rom --shadow
hidden 0000:00:02.0 shadow
run second "$cli" read-card 00:03.0 -o /out/second.rom --shadow
hidden 0000:00:03.0 second
cat "$devices/0000:00:02.0/resource" >/out/resource.shadow
for d in "$devices"/*; do
  echo "$d $(cat "$d/vendor") $(cat "$d/device") boot_vga=$(cat "$d/boot_vga" 2>/dev/null)"
  sed -n 7p "$d/resource"
done
