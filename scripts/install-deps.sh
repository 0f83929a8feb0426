#!/usr/bin/env bash
# Installs the Debian 12 packages Vamor needs.
#
#   scripts/install-deps.sh            everything: the program, its tests
#                                      (database servers, sanitizers, fuzzing,
#                                      the package checks, pictures)
#   scripts/install-deps.sh --program  only what building and running the
#                                      program (and its demonstration) needs
#
# The database servers are installed for the tests, which start private
# servers of their own: the packages' system services are kept from starting
# during the installation, then stopped and disabled.
set -euo pipefail

# Building and running the program: compiler, CMake, Qt with its help and
# translations, SQLite, unixODBC with the drivers a user would want, and
# python3-dbf for the demonstration's dBase cash book.
PROGRAM=(
  build-essential cmake pkg-config ccache python3
  qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools libqt6help6 libgl-dev
  # the help window reads its collection through Qt's SQLite driver
  libqt6sql6-sqlite
  qt6-translations-l10n
  # lupdate and lrelease: the program's translations
  qt6-l10n-tools
  fonts-dejavu-core
  libsqlite3-dev sqlite3
  unixodbc unixodbc-dev odbcinst
  odbc-postgresql odbc-mariadb libsqliteodbc odbc-mdbtools tdsodbc
  python3-dbf
)
# The tests, the sanitizers and fuzzers, the benches and the package checks.
TESTS=(
  git time
  googletest libgtest-dev
  # fuzzing: clang with libFuzzer and the sanitizers, llvm-symbolizer for the reports
  clang libclang-rt-14-dev llvm
  postgresql mariadb-server galera-4 rsync
  xvfb xauth imagemagick xdotool
  # the printed report read back (pdftotext) and shown (pdftoppm)
  poppler-utils
  # the Debian package: icons rendered for it, its desktop entry checked,
  # CPack's use of file, and a fresh Debian root to install it in
  librsvg2-bin desktop-file-utils debootstrap file
)

mode=all
case "${1:-}" in
  --program) mode=program ;;
  "") ;;
  *) echo "install-deps.sh: argument necunoscut: $1 (--program sau nimic)" >&2; exit 2 ;;
esac

PACKAGES=("${PROGRAM[@]}")
[ "$mode" = all ] && PACKAGES+=("${TESTS[@]}")

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update

# No service of the servers' packages starts while they are installed.
policy=/usr/sbin/policy-rc.d
own_policy=0
if [ "$mode" = all ] && [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$policy" >/dev/null
  $SUDO chmod 755 "$policy"
  own_policy=1
fi
cleanup() {
  if [ "$own_policy" = 1 ]; then
    $SUDO rm -f "$policy"
  fi
}
trap cleanup EXIT

$SUDO apt-get install -y --no-install-recommends "${PACKAGES[@]}"

# Servers installed earlier (or started by their packages anyway) are
# stopped and left disabled: the tests run servers of their own.
if [ "$mode" = all ] && command -v systemctl >/dev/null && [ -d /run/systemd/system ]; then
  for service in postgresql mariadb; do
    $SUDO systemctl disable --now "$service" >/dev/null 2>&1 || true
  done
fi

# The PostgreSQL driver's settings on the machine are left alone: Vamor asks
# for cursor fetching (UseDeclareFetch=1) in the strings of its own
# connections.
