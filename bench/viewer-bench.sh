#!/usr/bin/env bash
# Starting the viewer on a study, side by side in one run, on a 300-slice demo CT
# series: `Pictorium START_FILE` under a virtual X server, from process start to
# the first painted image and to the last loaded cell (TOLMAR_VIEWER_TIMING),
# against DCMTK reading every file of the series whole in one process
# (bench/DcmtkFullRead.cpp), timed the same way from its start.
#
# usage: bench/viewer-bench.sh [BUILD_DIR] [SLICES] [RUNS]
# Needs xvfb, libdcmtk-dev (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
slices=${2:-300}
runs=${3:-5}

cmake --build "$build" --target tolmar Pictorium -j2 >/dev/null
work=$(mktemp -d /tmp/tolmar-viewer-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

"$build/bin/tolmar" make-demo "$work/demo" --slices "$slices" >/dev/null
series="$work/demo/CT"
g++ -std=c++17 -O2 -DNDEBUG "$root/bench/DcmtkFullRead.cpp" -ldcmdata -loflog -lofstd \
  -o "$work/dcmtk-full-read"
export XDG_CONFIG_HOME="$work/config"

first=()
last=()
dcmtk=()
for ((i = 0; i < runs; i++)); do
  "$build/bin/tolmar" start-file viewer "$work/QVBENCH.TMP" "$series" >/dev/null
  out=$(TOLMAR_VIEWER_TIMING=1 timeout 300 xvfb-run -a "$build/bin/Pictorium" "$work/QVBENCH.TMP" 2>&1)
  first+=("$(echo "$out" | awk '/^first-image-ms/ {print $2}')")
  last+=("$(echo "$out" | awk '/^last-cell-ms/ {print $2}')")
  start=$(date +%s%N)
  "$work/dcmtk-full-read" "$series"/* >/dev/null
  dcmtk+=("$(( ($(date +%s%N) - start) / 1000000 ))")
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
f=$(median "${first[@]}")
l=$(median "${last[@]}")
d=$(median "${dcmtk[@]}")
echo "Pictorium first image: ${f} ms; last cell: ${l} ms; DCMTK full read: ${d} ms (median of $runs, $slices slices)"
awk -v l="$l" -v d="$d" 'BEGIN { if (d > 0) printf "last cell / DCMTK full read: %.2f\n", l / d }'
