#!/usr/bin/env bash
# Installs what is missing, builds Vamor and runs the demonstration: a small
# firm's database converted from old lei to new lei from the command line.
# Arguments are passed to the demo (for example: --to vechi).
set -euo pipefail
cd "$(dirname "$0")/.."

# Only what the program needs: no database server, no test is installed or
# built (scripts/test.sh does that).
if [ "${VAMOR_SKIP_INSTALL:-0}" != "1" ]; then
  scripts/install-deps.sh --program
fi
scripts/build.sh --program
exec scripts/demo.sh "$@"
