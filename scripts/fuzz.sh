#!/usr/bin/env bash
# Fuzzes the DICOM file reader: configures build-fuzz/ with clang and TOLMAR_FUZZ=ON,
# builds the libFuzzer target and the seed maker, writes the seed corpus, replays it and
# fuzzes for about SECONDS seconds in total (default 60). Fails on any crash; the input
# that crashed is kept in build-fuzz/fuzz/artifacts/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTOLMAR_FUZZ=ON >/dev/null
cmake --build "$build" --target dicom_reader_fuzzer dicom_fuzz_seeds

work="$build/fuzz"
seeds="$work/seeds"
corpus="$work/corpus"
artifacts="$work/artifacts"
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus" "$artifacts"
"$build/bin/dicom_fuzz_seeds" "$seeds"

fuzzer="$build/bin/dicom_reader_fuzzer"
options=(-dict="$root/tests/fuzz/dicom.dict" -max_len=65536 -timeout=20 -rss_limit_mb=2048
  -artifact_prefix="$artifacts/" -print_final_stats=1)
start=$(date +%s)
echo "fuzz: replaying $(ls "$seeds" | wc -l) seeds"
"$fuzzer" "${options[@]}" -runs=0 "$seeds"
left=$((seconds - ($(date +%s) - start)))
if [ "$left" -lt 5 ]; then left=5; fi
echo "fuzz: fuzzing the reader for ${left}s"
# The corpus folder keeps what this machine found interesting between runs.
"$fuzzer" "${options[@]}" -max_total_time="$left" "$corpus" "$seeds"
echo "fuzz: no crash"
