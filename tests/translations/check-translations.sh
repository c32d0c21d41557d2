#!/usr/bin/env bash
# Fails naming every text of the editor that has no Russian translation, and every translation
# whose text the code no longer has. lupdate reads the code into a copy of the .ts, so the tree's
# file is never touched. Usage: check-translations.sh SOURCE_ROOT LUPDATE
set -euo pipefail
root=$1
lupdate=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$root/res/vorlane_ru.ts" "$tmp/"
(cd "$root" && "$lupdate" -silent -locations none dialogkit res ui -ts "$tmp/vorlane_ru.ts")

awk '
/<name>/ { context = $0; gsub(/^ *<name>|<\/name>.*/, "", context) }
/<source>/ { source = ""; inSource = 1 }
inSource { source = source (source == "" ? "" : "\\n") $0; if (/<\/source>/) inSource = 0 }
/<translation/ {
  gsub(/^ *<source>|<\/source>.*$/, "", source)
  if (/type="unfinished"/ || /<translation><\/translation>/) {
    printf "untranslated [%s]: %s\n", context, source; bad = 1
  } else if (/type="vanished"/ || /type="obsolete"/) {
    printf "no longer in the code [%s]: %s\n", context, source; bad = 1
  }
}
# A plural form left empty, the others translated: Qt would show the English for those counts.
/<numerusform><\/numerusform>/ { printf "untranslated plural form [%s]: %s\n", context, source; bad = 1 }
END { exit bad }
' "$tmp/vorlane_ru.ts" || {
  echo "Refresh res/vorlane_ru.ts with: cmake --build build --target vorlane_lupdate, and translate."
  exit 1
}
echo "every text has its translation"
