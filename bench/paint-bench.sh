#!/bin/bash
# Display-cell painting benchmark: the interpolated 1024 x 1024 cell against
# the scalar bilinear baseline and Qt's smooth scaling, and a 4 x 4 grid
# repaint, in one run. Builds its own small program so that the default
# build does not grow. Usage: bench/paint-bench.sh [BUILD_DIR] (default build-paint)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-paint}
work=$(mktemp -d /tmp/tolmar-paint-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target tolmar_image -j2 > /dev/null
c++ -O2 -fPIC -std=c++20 -I"$root" "$root/bench/paint/PaintBench.cpp" -o "$work/paint-bench" \
  $(find "$build" -name 'libtolmar_image.a' | head -1) $(find "$build" -name 'libtolmar_dicom.a' | head -1) \
  $(pkg-config --cflags --libs Qt6Gui) -ldl -lz -lpthread

echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(uname -m), load $(cut -d' ' -f1 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen "$work/paint-bench"
