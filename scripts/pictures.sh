#!/usr/bin/env bash
# Takes the README's pictures again with the program's own picture programs
# under a virtual X server (xvfb-run), from a built tree (scripts/build.sh):
# docs/main-window.png (the main window with a project and a table window)
# and docs/report-totals.png (the report window's control totals).
set -euo pipefail
cd "$(dirname "$0")/.."
command -v xvfb-run >/dev/null || { echo "pictures.sh: lipseste xvfb-run (scripts/install-deps.sh)" >&2; exit 2; }
for program in build/tests/tables/table_shots build/tests/conversion/conversion_shots; do
  [ -x "$program" ] || { echo "pictures.sh: lipseste $program (scripts/build.sh)" >&2; exit 2; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for program in build/tests/tables/table_shots build/tests/conversion/conversion_shots; do
  VAMOR_TEMPLATES=build/bin xvfb-run -a -s "-screen 0 1280x900x24" "$program" "$out" >/dev/null
done
mkdir -p docs
cp "$out/frmMain-table.png" docs/main-window.png
cp "$out/frmConvertEnd_totals.png" docs/report-totals.png
echo "docs/main-window.png, docs/report-totals.png"
