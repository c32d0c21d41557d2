# Sourced by a case script. The kernel's own rules for a sticky, world-writable folder, switched
# on as Debian switches them on, beside what vorlane-cli does there as root: another user's link
# is not followed, as the last name or as a folder on the way (fs.protected_symlinks), and another
# user's file is not opened for writing (fs.protected_regular). Root's own link is the control.
# For each case NAME, /out/sticky/NAME.kernel holds the exit status of the shell's own open of
# OUT for writing (`: >>OUT`, O_CREAT), and NAME.rc/.err what vorlane-cli did.
mkdir -p /out/sticky
out=/out/sticky
echo 1 >/proc/sys/fs/protected_symlinks
echo 1 >/proc/sys/fs/protected_regular
mkdir -p /tmp/shared /private
chmod 1777 /tmp/shared
chmod 700 /private
echo old >/private/victim
su -s /bin/sh nobody -c 'ln -s /private/victim /tmp/shared/link &&
  ln -s /private /tmp/shared/folder && echo old >/tmp/shared/pre.rom &&
  chmod 666 /tmp/shared/pre.rom'
ln -s /private/mine /tmp/shared/own
for case in link:/tmp/shared/link folder:/tmp/shared/folder/victim pre:/tmp/shared/pre.rom \
  own:/tmp/shared/own; do
  name=${case%%:*}
  path=${case#*:}
  (: >>"$path") 2>/dev/null
  echo $? >"$out/$name.kernel"
  "$cli" fix-checksum /roms/sum.rom -o "$path" >"$out/$name.out" 2>"$out/$name.err"
  echo $? >"$out/$name.rc"
done
cp /private/victim "$out/victim"
cp /tmp/shared/pre.rom "$out/pre"
cp /private/mine "$out/mine"
