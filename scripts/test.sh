#!/usr/bin/env bash
# Installs what is missing, builds, starts private PostgreSQL and MariaDB
# servers and runs every test. Set VAMOR_SKIP_INSTALL=1 to skip the packages.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${VAMOR_SKIP_INSTALL:-0}" != "1" ]; then
  scripts/install-deps.sh
fi
scripts/build.sh

servers_dir=$(mktemp -d /tmp/vamor-servers.XXXXXX)
chmod 755 "$servers_dir"
cleanup() {
  tests/servers.sh stop "$servers_dir" || true
  rm -rf "$servers_dir"
}
trap cleanup EXIT

if tests/servers.sh start "$servers_dir"; then
  echo "Test servers started."
else
  echo "!!! One or more test servers did not start; the tests that need them will skip (or fail under CI=true)."
fi
if [ -f "$servers_dir/env.sh" ]; then
  # shellcheck disable=SC1091
  source "$servers_dir/env.sh"
fi

ctest --test-dir build --output-on-failure --timeout 600 -j2
