#!/usr/bin/env bash
# Checks every include of the source tree against the layers, and fails naming file:line for each
# one that runs the wrong way. Usage: check-includes.sh [SOURCE_ROOT]
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"

# What each folder may include besides itself, whether it may include Qt, and whether it is a
# platform folder, the only kind that may include windows.h or a POSIX-only header. A folder of
# the table that does not exist yet is not checked; a file belongs to the longest folder of the
# table its path starts with. A folder missing from the table (tests, bench, fuzz, packaging) may
# include any folder, but like every other it names the folder it includes. A backend folder's
# headers (dialogkit/qt/, dialogkit/win32/) are the backend's own: no other folder of the table
# includes them unless its row names the backend (card/, Linux-only, shares image/posix/'s list of
# signals). The ui tests drive the editor through the kit's test driver, never a toolkit.
rules='
image            -                                     no-qt  portable
image/posix      image                                 no-qt  platform
image/windows    image                                 no-qt  platform
fontfile         image                                 no-qt  portable
card             image image/posix                     no-qt  platform
cli              image fontfile card                   no-qt  portable
cli/windows      image fontfile cli                    no-qt  platform
dialogkit        -                                     no-qt  portable
dialogkit/qt     dialogkit                             qt     platform
dialogkit/win32  dialogkit                             no-qt  platform
res              dialogkit                             no-qt  portable
ui               image fontfile dialogkit res          no-qt  portable
tests/ui         image fontfile dialogkit res ui tests no-qt  any
'
# Headers that are POSIX-only or Windows-only. The file layer's descriptor still includes
# unistd.h from its shared header; it moves into image/posix/ with the Windows file layer.
systemOnly='^(windows|winbase|winnt|io|direct|unistd|fcntl|dirent|pthread|dlfcn|pwd|grp|termios|poll|spawn|glob|fnmatch|libgen|syslog|utime|sys/[a-z_]+|netinet/[a-z_]+|arpa/[a-z_]+|acl/libacl|attr/xattr)[.]h$'
systemOnlyKnown='image/Descriptor.h'

# The project's folders are the top-level ones that join the build (they have a CMakeLists.txt);
# build folders have none.
folders=()
for dir in */; do
  dir=${dir%/}
  [[ -f $dir/CMakeLists.txt ]] && folders+=("$dir")
done
mapfile -t files < <(find "${folders[@]}" -type f \
  \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) | LC_ALL=C sort)
[[ ${#files[@]} -gt 0 ]] || { echo "no sources found under $(pwd)" >&2; exit 2; }

awk -v rules="$rules" -v folders="${folders[*]}" -v systemOnly="$systemOnly" \
    -v known="$systemOnlyKnown" '
BEGIN {
  split(folders, f, " ")
  for (i in f) project[f[i]] = 1
  n = split(rules, lines, "\n")
  for (i = 1; i <= n; i++) {
    m = split(lines[i], w, " ")
    if (m < 4) continue
    ruled[w[1]] = 1
    qtAllowed[w[1]] = w[m - 1] == "qt"
    kind[w[1]] = w[m]
    if (w[m] == "platform" && index(w[1], "/") > 0) backend[w[1]] = 1
    for (j = 2; j < m - 1; j++) if (w[j] != "-") allowed[w[1], w[j]] = 1
  }
  split(known, k, " ")
  for (i in k) knownFile[k[i]] = 1
}
function report(message) {
  printf "%s:%d: %s: %s\n", FILENAME, FNR, message, $0
  failed = 1
}
# The longest folder of the table that `path` lies in, else its top-level folder.
function folderOf(path,    best, r) {
  best = ""
  for (r in ruled) {
    if (index(path, r "/") == 1 && length(r) > length(best)) best = r
  }
  if (best == "") best = substr(path, 1, index(path, "/") - 1)
  return best
}
FNR == 1 { from = folderOf(FILENAME); top = substr(FILENAME, 1, index(FILENAME, "/") - 1) }
/^[ \t]*#[ \t]*include[ \t]*["<]/ {
  quoted = match($0, /"[^"]*"/)
  if (!quoted) match($0, /<[^>]*>/)
  path = substr($0, RSTART + 1, RLENGTH - 2)
  slash = index(path, "/")
  to = slash > 0 ? substr(path, 1, slash - 1) : ""
  if (to in project) {
    target = folderOf(path)
    if ((from in ruled) && to != top && !((from, to) in allowed))
      report(from "/ must not include " to "/")
    else if ((from in ruled) && (target in backend) && target != from && !((from, target) in allowed))
      report(from "/ must not include the backend " target "/")
  } else if (quoted) {
    report("a project include names its folder, as \"image/RomImage.h\"")
  } else if ((from in ruled) && !qtAllowed[from] && path ~ /^(Q|qpa\/|q[a-z0-9_]*\.h$)/) {
    report(from "/ must not include Qt")
  } else if ((from in ruled) && kind[from] == "portable" && path ~ systemOnly &&
             !(FILENAME in knownFile)) {
    report("only a platform folder includes " path)
  }
}
END { exit failed }
' "${files[@]}"
