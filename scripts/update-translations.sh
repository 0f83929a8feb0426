#!/usr/bin/env bash
# Brings translations/vamor_*.ts up to date with the program's texts: new
# source texts are added unfinished, texts no longer in the program are
# dropped, translations already made are kept. Run it after changing a
# text, then translate what Qt Linguist (or an editor) shows unfinished.
#
#   scripts/update-translations.sh [LANG ...]      (default: every .ts file)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
[ -x "$lupdate" ] || lupdate=$(command -v lupdate)

langs=("$@")
if [ ${#langs[@]} -eq 0 ]; then
  for ts in "$repo"/translations/vamor_*.ts; do
    [ -e "$ts" ] || continue
    l=${ts##*/vamor_}; langs+=("${l%.ts}")
  done
fi
[ ${#langs[@]} -gt 0 ] || { echo "update-translations.sh: name a language (en, bg)" >&2; exit 2; }

cd "$repo"
for l in "${langs[@]}"; do
  "$lupdate" -silent -no-obsolete -locations none -I . -source-language ro -target-language "$l" \
    -extensions cpp,h app conversion data datasources discovery help tables util \
    -ts "translations/vamor_$l.ts"
done
