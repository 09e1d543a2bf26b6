#!/usr/bin/env bash
# Importing a study into the embedded database, side by side in one run, on a 300-slice
# demo CT series:
#   import: `tolmar import` of the series into a fresh SQLite database (through the
#           SQLite3 ODBC driver) against dcmdump reading every header of the same files
#           in one process, stopping before the pixel data (+sb 7fe0,0010);
#   list:   `tolmar db studies` of the device afterwards.
# Goal: importing costs at most 3 times the bare header read. Figures go to
# bench/RESULTS.md.
#
# usage: bench/import-bench.sh [BUILD_DIR] [SLICES] [RUNS]
# Needs hyperfine, dcmtk, unixodbc and libsqliteodbc (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
slices=${2:-300}
runs=${3:-10}
tolmar=$build/bin/tolmar

cmake --build "$build" --target tolmar -j2 >/dev/null
work=$(mktemp -d /tmp/tolmar-import-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

"$tolmar" make-demo "$work/demo" --slices "$slices" >/dev/null
series="$work/demo/CT"

# A private data source on a database file that every timed import starts from empty.
export ODBCINI=$work/odbc.ini
printf '[BenchPacs]\nDriver=SQLite3\nDatabase=%s\nTimeout=60000\nJournalMode=WAL\nSyncPragma=NORMAL\n' \
  "$work/bench.db" >"$ODBCINI"
"$tolmar" db init --dsn BenchPacs >/dev/null
cp "$work/bench.db" "$work/empty.db"
cat >"$work/reset.sh" <<RESET
rm -f "$work/bench.db-wal" "$work/bench.db-shm"
cp "$work/empty.db" "$work/bench.db"
RESET

# Every command must succeed before anything is timed.
sh "$work/reset.sh"
"$tolmar" import "$series" --dsn BenchPacs >/dev/null 2>&1
dcmdump -q +sb 7fe0,0010 "$series"/* >/dev/null

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "series: $slices slices, $(du -sh "$series" | cut -f1)"
cd "$series"
hyperfine -N --warmup 2 --runs "$runs" \
  --prepare "sh $work/reset.sh" \
  -n "tolmar import" "$tolmar import $series --dsn BenchPacs" \
  -n "dcmdump +sb 7fe0,0010" "dcmdump -q +sb 7fe0,0010 $(ls | tr '\n' ' ')"
"$tolmar" import "$series" --dsn BenchPacs >/dev/null 2>&1
hyperfine -N --warmup 2 --runs "$runs" \
  -n "tolmar db studies" "$tolmar db studies --device 1 --dsn BenchPacs"
