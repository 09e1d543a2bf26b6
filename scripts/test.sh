#!/usr/bin/env bash
# Installs what is missing, builds, fuzzes the readers briefly and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
bash "$root/scripts/fuzz.sh" "${TOLMAR_FUZZ_SECONDS:-60}"
cd "$root/build"
ctest --output-on-failure -j2 --timeout 900
