#!/usr/bin/env bash
# Starting the viewer on a study, side by side in one run, on a 300-slice demo CT
# series: `Pictorium START_FILE` under one virtual X server, from the moment the
# program is launched to the first painted image and to the last loaded cell
# (TOLMAR_VIEWER_TIMING carries the launch time), against DCMTK reading every
# file of the series whole in one process (bench/DcmtkFullRead.cpp), timed from
# its launch the same way. Memory: Pictorium's peak resident size on the series
# against 1.3 x the series' pixel data (as DCMTK's dcmdump counts it) plus the
# program's own peak on a start file whose one entry is not an image.
#
# usage: bench/viewer-bench.sh [BUILD_DIR] [SLICES] [RUNS]
# VIEWER_BENCH_RAW=1 also prints every run's figures on standard error.
# Needs xvfb, libdcmtk-dev and dcmtk (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
slices=${2:-300}
runs=${3:-5}

cmake --build "$build" --target tolmar Pictorium imginfo_table -j2 >/dev/null
work=$(mktemp -d /tmp/tolmar-viewer-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

"$build/bin/tolmar" make-demo "$work/demo" --slices "$slices" >/dev/null
series="$work/demo/CT"
g++ -std=c++17 -O2 -DNDEBUG "$root/bench/DcmtkFullRead.cpp" -ldcmdata -loflog -lofstd \
  -o "$work/dcmtk-full-read"
pixel_bytes=$(dcmdump -q +P 7fe0,0010 "$series"/* | awk -F'# ' '{split($2, a, ","); s += a[1]} END {print s}')
echo "not an image" >"$work/not-an-image.dcm"
export XDG_CONFIG_HOME="$work/config"

# One X server and one session bus for every run, so that starting them is not
# counted: a desktop session has both before the viewer starts (without a bus
# the viewer's start-up would launch one itself).
cat >"$work/runs.sh" <<'RUNS'
#!/usr/bin/env bash
set -euo pipefail
build=$1 work=$2 series=$3 runs=$4
now() { date +%s%N; }
for ((i = 0; i < runs; i++)); do
  "$build/bin/tolmar" start-file viewer "$work/QVBENCH.TMP" "$series" >/dev/null
  out=$(TOLMAR_VIEWER_TIMING=$(now) timeout 300 "$build/bin/Pictorium" "$work/QVBENCH.TMP" 2>&1)
  echo "$out" | awk -v run="$i" '/^(first-image-ms|last-cell-ms|peak-rss-kb)/ {print run, $1, $2}'
  start=$(now)
  "$work/dcmtk-full-read" "$series"/* >/dev/null
  echo "$i dcmtk-ms $((($(now) - start) / 1000000))"
  "$build/bin/tolmar" start-file viewer "$work/QVEMPTY.TMP" "$work/not-an-image.dcm" >/dev/null
  out=$(TOLMAR_VIEWER_TIMING=$(now) timeout 300 "$build/bin/Pictorium" "$work/QVEMPTY.TMP" 2>&1)
  echo "$out" | awk -v run="$i" '/^peak-rss-kb/ {print run, "empty-rss-kb", $2}'
done
RUNS
chmod +x "$work/runs.sh"
xvfb-run -a dbus-run-session -- "$work/runs.sh" "$build" "$work" "$series" "$runs" >"$work/results"
[[ -n ${VIEWER_BENCH_RAW:-} ]] && cat "$work/results" >&2

median() { awk -v key="$1" '$2 == key {print $3}' "$work/results" | sort -n |
  awk '{a[NR] = $1} END {if (NR) print a[int((NR + 1) / 2)]; else print 0}'; }
f=$(median first-image-ms)
l=$(median last-cell-ms)
d=$(median dcmtk-ms)
rss=$(median peak-rss-kb)
empty=$(median empty-rss-kb)
echo "Pictorium first image: ${f} ms; last cell: ${l} ms; DCMTK full read: ${d} ms (median of $runs, $slices slices)"
awk -v f="$f" -v l="$l" -v d="$d" 'BEGIN { if (d > 0) printf "last cell / DCMTK full read: %.2f (goal 1.5); first image / DCMTK full read: %.2f (goal 0.15)\n", l / d, f / d }'
awk -v r="$rss" -v e="$empty" -v p="$pixel_bytes" 'BEGIN {
  allowed = 1.3 * p / 1024 + e
  printf "Pictorium peak resident size: %d KB; own size (empty load): %d KB; pixel data: %d KB\n", r, e, p / 1024
  printf "peak resident size / (1.3 x pixel data + own size): %.2f (goal 1.0)\n", r / allowed }'
