#!/usr/bin/env bash
# Installs every Debian package that Koravel's build, program and tests need.
# Idempotent: installs only what is missing, and refreshes the package lists only then.
set -euo pipefail

packages=(
  # build tools
  build-essential cmake ninja-build ccache pkg-config git
  # Qt 6: base with SQL drivers, widgets, print support, WebEngine, WebChannel, Pdf, tools
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
  qt6-webengine-dev qt6-webengine-dev-tools qt6-webchannel-dev qt6-pdf-dev
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev
  # HTML parsing, spreadsheets
  libgumbo-dev libxlsxwriter-dev
  # databases: PostgreSQL server for tests, ODBC manager and the PostgreSQL ODBC driver
  postgresql postgresql-client unixodbc unixodbc-dev odbc-postgresql
  # headless runs
  xvfb xauth
  # the fuzz test of the exchange-file reader: clang-14 with libFuzzer and the sanitizers
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
