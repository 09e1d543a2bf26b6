#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the benchmarks need.
# Idempotent: packages already present are skipped without touching apt.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev
  # core dependencies
  zlib1g-dev libjpeg62-turbo-dev libdcmtk-dev
  qt6-base-dev qt6-base-dev-tools libqt6sql6-odbc
  unixodbc unixodbc-dev libsqliteodbc odbc-postgresql
  # programs, fonts and the session bus
  dbus dbus-x11 fonts-liberation fonts-noto-cjk xvfb xauth
  # oracles, test data and the archive server for the database tests
  dcmtk libgdcm-tools python3-pydicom postgresql
  # benchmarks
  hyperfine libgdcm-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
