#!/usr/bin/env bash
# Installs the Debian 12 packages Vamor needs to build, run and test.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config ccache git python3 time
  qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools libqt6help6 libgl-dev
  fonts-dejavu-core
  libsqlite3-dev sqlite3
  unixodbc unixodbc-dev odbcinst
  odbc-postgresql odbc-mariadb libsqliteodbc odbc-mdbtools tdsodbc
  googletest libgtest-dev
  postgresql mariadb-server
  xvfb xauth imagemagick
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${PACKAGES[@]}"
