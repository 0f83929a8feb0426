#!/usr/bin/env bash
# Installs what is missing, builds Vamor and runs the demonstration: a small
# firm's database converted from old lei to new lei from the command line.
# Arguments are passed to the demo (for example: --to vechi).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${VAMOR_SKIP_INSTALL:-0}" != "1" ]; then
  scripts/install-deps.sh
fi
scripts/build.sh
exec scripts/demo.sh "$@"
