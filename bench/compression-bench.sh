#!/usr/bin/env bash
# Pixel compression side by side on a 300-slice demo CT series, in one process:
# lossless JPEG (Pixcodec against DCMTK's and GDCM's codecs), "ZIP" against raw zlib
# level 1, and ELPEG.
#
# usage: bench/compression-bench.sh [BUILD_DIR] [SLICES] [ROUNDS]
# Needs the packages libdcmtk-dev and libgdcm-dev.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
slices=${2:-300}
rounds=${3:-3}

cmake --build "$build" --target tolmar Pixcodec tolmar_dicom -j2 >/dev/null
work=$(mktemp -d /tmp/tolmar-compression-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

"$build/bin/tolmar" make-demo "$work/demo" --slices "$slices" >/dev/null
g++ -std=c++20 -O2 -DNDEBUG -I"$root" -isystem /usr/include/gdcm-3.0 \
  "$root/bench/compression/CompressionBench.cpp" "$build/lib/libtolmar_dicom.a" \
  -lgdcmMSFF -lgdcmDSED -lgdcmCommon \
  -ldcmjpeg -lijg8 -lijg12 -lijg16 -ldcmimgle -ldcmdata -loflog -lofstd -ldl \
  -o "$work/compression-bench"

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
TOLMAR_PIXCODEC_LIBRARY="$build/bin/libPixcodec.so" "$work/compression-bench" "$work/demo/CT" "$rounds"
