#!/usr/bin/env bash
# Installs the Debian 12 packages Vamor needs to build, run and test.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config ccache git python3 time
  qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools libqt6help6 libgl-dev
  # the help window reads its collection through Qt's SQLite driver
  libqt6sql6-sqlite
  qt6-translations-l10n
  fonts-dejavu-core
  libsqlite3-dev sqlite3
  unixodbc unixodbc-dev odbcinst
  odbc-postgresql odbc-mariadb libsqliteodbc odbc-mdbtools tdsodbc
  googletest libgtest-dev
  # tests: DBF tables written by an independent implementation
  python3-dbf
  # fuzzing: clang with libFuzzer and the sanitizers, llvm-symbolizer for the reports
  clang libclang-rt-14-dev llvm
  postgresql mariadb-server
  xvfb xauth imagemagick
  # the Debian package: icons rendered for it, its desktop entry checked, and
  # a fresh Debian root to install it in (scripts/package-test.sh); CPack's
  # Debian generator picks, with file, the programs whose libraries it lists
  librsvg2-bin desktop-file-utils debootstrap file
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${PACKAGES[@]}"

# The PostgreSQL driver's settings on the machine are left alone: Vamor asks
# for cursor fetching (UseDeclareFetch=1) in the strings of its own
# connections.
