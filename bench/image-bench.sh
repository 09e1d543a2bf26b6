#!/bin/bash
# Image pipeline benchmark: window lookup table + mapping against memcpy, and
# rendering a 300-slice series against DCMTK's DicomImage, in one run.
# Builds its own small program (linking DCMTK) so that the default build does
# not grow. Usage: bench/image-bench.sh [BUILD_DIR]   (default build-image)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-image}
work=$(mktemp -d /tmp/tolmar-image-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target tolmar tolmar_image -j2 > /dev/null
"$build/bin/tolmar" make-demo "$work/demo" --slices 300 > /dev/null

c++ -O2 -std=c++20 -I"$root" "$root/bench/image/ImageBench.cpp" -o "$work/image-bench" \
  $(find "$build/lib" -name 'libtolmar_image.a') $(find "$build/lib" -name 'libtolmar_annotation.a') \
  $(find "$build/lib" -name 'libtolmar_image.a') $(find "$build/lib" -name 'libtolmar_dicom.a') \
  $(pkg-config --cflags --libs Qt6Gui) -ldcmimgle -ldcmdata -loflog -lofstd -ldl -lz -lpthread

echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(uname -m)"
echo "## default malloc"
"$work/image-bench" "$work/demo/CT/IM0150.dcm" "$work/demo/CT"
# Fresh 512 KB buffers come from mmap and are returned at once by default, so
# every slice pays first-touch page faults on both sides; a program that keeps
# freed memory (as the viewer should at start-up) shows what the pipelines cost.
echo "## malloc keeping freed memory (mmap threshold 64 MB, trim threshold 256 MB)"
GLIBC_TUNABLES=glibc.malloc.mmap_threshold=67108864:glibc.malloc.trim_threshold=268435456 \
  "$work/image-bench" "$work/demo/CT/IM0150.dcm" "$work/demo/CT"
