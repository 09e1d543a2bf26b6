#!/usr/bin/env bash
# Opening a study, side by side in one run, on a 300-slice demo CT series:
#   header scan: `tolmar scan DIR` against dcmdump over every file in one process
#                stopping before the pixel data (+sb 7fe0,0010), and gdcmscanner
#                looking up tags up to the end of the header;
#   full read:   `tolmar scan --full DIR` against DCMTK reading every file whole in one
#                process (bench/DcmtkFullRead.cpp).
# Goals: header scan at most half of dcmdump's time and no longer than gdcmscanner's;
# full read no slower than DCMTK's. Figures go to bench/RESULTS.md.
#
# usage: bench/scan-bench.sh [BUILD_DIR] [SLICES] [RUNS]
# Needs hyperfine, dcmtk, libdcmtk-dev and libgdcm-tools (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
slices=${2:-300}
runs=${3:-10}

cmake --build "$build" --target tolmar -j2 >/dev/null
work=$(mktemp -d /tmp/tolmar-scan-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

"$build/bin/tolmar" make-demo "$work/demo" --slices "$slices" >/dev/null
series="$work/demo/CT"
g++ -std=c++17 -O2 -DNDEBUG "$root/bench/DcmtkFullRead.cpp" -ldcmdata -loflog -lofstd \
  -o "$work/dcmtk-full-read"

# Every command reads the same files; all must succeed before anything is timed.
"$build/bin/tolmar" scan "$series" >/dev/null
"$build/bin/tolmar" scan --full "$series" >/dev/null
dcmdump -q +sb 7fe0,0010 "$series"/* >/dev/null
gdcmscanner -d "$series" -t 0008,0018 -t 0020,0032 -t 0028,1053 >/dev/null
"$work/dcmtk-full-read" "$series"/* >/dev/null

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "series: $slices slices, $(du -sh "$series" | cut -f1)"
cd "$series"
hyperfine -N --warmup 2 --runs "$runs" \
  -n "tolmar scan" "$build/bin/tolmar scan $series" \
  -n "dcmdump +sb 7fe0,0010" "dcmdump -q +sb 7fe0,0010 $(ls | tr '\n' ' ')" \
  -n "gdcmscanner" "gdcmscanner -d $series -t 0008,0018 -t 0020,0032 -t 0028,1053"
hyperfine -N --warmup 2 --runs "$runs" \
  -n "tolmar scan --full" "$build/bin/tolmar scan --full $series" \
  -n "DCMTK full read" "$work/dcmtk-full-read $(ls | tr '\n' ' ')"
