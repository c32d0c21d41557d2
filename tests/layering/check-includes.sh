#!/usr/bin/env bash
# Checks every include of the source tree against the layers, and fails naming file:line for each
# one that runs the wrong way. Usage: check-includes.sh [SOURCE_ROOT]
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"

# What each folder may include besides itself, and whether it may include Qt. A folder of the
# table that does not exist yet is not checked; a folder missing from the table (tests, bench,
# fuzz, packaging) may include any folder, but like every other it names the folder it includes.
rules='
image      -                              no-qt
fontfile   image                          no-qt
card       image                          no-qt
cli        image fontfile card            no-qt
dialogkit  -                              qt
res        dialogkit                      qt
ui         image fontfile dialogkit res   qt
'

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

awk -v rules="$rules" -v folders="${folders[*]}" '
BEGIN {
  split(folders, f, " ")
  for (i in f) project[f[i]] = 1
  n = split(rules, lines, "\n")
  for (i = 1; i <= n; i++) {
    m = split(lines[i], w, " ")
    if (m < 3) continue
    ruled[w[1]] = 1
    qtAllowed[w[1]] = w[m] == "qt"
    for (j = 2; j < m; j++) if (w[j] != "-") allowed[w[1], w[j]] = 1
  }
}
function report(message) {
  printf "%s:%d: %s: %s\n", FILENAME, FNR, message, $0
  failed = 1
}
/^[ \t]*#[ \t]*include[ \t]*["<]/ {
  split(FILENAME, parts, "/")
  from = parts[1]
  quoted = match($0, /"[^"]*"/)
  if (!quoted) match($0, /<[^>]*>/)
  path = substr($0, RSTART + 1, RLENGTH - 2)
  slash = index(path, "/")
  to = slash > 0 ? substr(path, 1, slash - 1) : ""
  if (to in project) {
    if ((from in ruled) && to != from && !((from, to) in allowed))
      report(from "/ must not include " to "/")
  } else if (quoted) {
    report("a project include names its folder, as \"image/RomImage.h\"")
  } else if ((from in ruled) && !qtAllowed[from] && path ~ /^(Q|qpa\/|q[a-z0-9_]*\.h$)/) {
    report(from "/ must not include Qt")
  }
}
END { exit failed }
' "${files[@]}"
