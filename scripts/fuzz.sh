#!/usr/bin/env bash
# Fuzzes the DICOM file reader and the pixel decoders: configures build-fuzz/ with clang
# and TOLMAR_FUZZ=ON, builds the libFuzzer targets and the seed maker, writes the reader's
# seed corpus, replays it and fuzzes for about SECONDS seconds in total (default 60): half
# for the reader, the rest shared by the other targets (tests/fuzz/Fuzz*.cpp). Fails on any
# crash; the input that crashed is kept in build-fuzz/fuzz/artifacts/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTOLMAR_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzz_all

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
left=$((seconds / 2 - ($(date +%s) - start)))
if [ "$left" -lt 5 ]; then left=5; fi
echo "fuzz: fuzzing the reader for ${left}s"
# The corpus folders keep what this machine found interesting between runs.
"$fuzzer" "${options[@]}" -max_total_time="$left" "$corpus" "$seeds"

others=()
for target in "$build"/bin/fuzz_*; do
  [ -x "$target" ] && others+=("$target")
done
waiting=${#others[@]}
for target in "${others[@]}"; do
  name=$(basename "$target")
  left=$(((seconds - ($(date +%s) - start)) / waiting))
  waiting=$((waiting - 1))
  if [ "$left" -lt 5 ]; then left=5; fi
  mkdir -p "$work/corpus-$name"
  echo "fuzz: fuzzing $name for ${left}s"
  "$target" -max_len=65536 -timeout=20 -rss_limit_mb=2048 -artifact_prefix="$artifacts/$name-" \
    -print_final_stats=1 -max_total_time="$left" "$work/corpus-$name"
done
echo "fuzz: no crash"
