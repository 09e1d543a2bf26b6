#!/usr/bin/env bash
# The suite's main job on its embedded default: build, make the demo study with the
# suite's own writer and open it (header dump and a full scan of every file).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
data="${XDG_DATA_HOME:-$HOME/.local/share}/tolmar"
demo="$data/demo"
mkdir -p "$data"
if [ ! -d "$demo" ]; then
  "$root/build/bin/tolmar" make-demo "$demo"
fi
"$root/build/bin/tolmar" scan --full "$demo"
first=$(find "$demo" -type f | sort | head -n 1)
"$root/build/bin/tolmar" dump "$first"
