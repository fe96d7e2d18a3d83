#!/usr/bin/env bash
# Refreshes the Japanese strings of one source folder (and its forms):
#   tools/update-translation.sh input
# New entries appear unfinished in src/resources/translations/<folder>_ja_JP.ts.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$1
lupdate=$(command -v lupdate || echo /usr/lib/qt5/bin/lupdate)
forms=()
for f in src/forms/*.ui; do
  [ -e "$f" ] || continue
  stem=$(basename "$f" .ui)
  compgen -G "src/$folder/$stem.*" >/dev/null || compgen -G "src/$folder/gui/$stem.*" >/dev/null \
    && forms+=("$f")
done
"$lupdate" -silent -no-obsolete -I src src/"$folder" "${forms[@]}" -ts src/resources/translations/"$folder"_ja_JP.ts
