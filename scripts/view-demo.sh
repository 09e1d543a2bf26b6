#!/bin/sh
# Writes the demo study (if missing) and a viewer start file naming its images,
# then starts Pictorium on it. Usage: scripts/view-demo.sh [BUILD_DIR [DEMO_DIR]]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}
demo=${2:-"${XDG_DATA_HOME:-$HOME/.local/share}/tolmar/demo-study"}
bin="$build/bin"
if [ ! -x "$bin/Pictorium" ] || [ ! -x "$bin/tolmar" ]; then
  echo "view-demo: build Pictorium and tolmar into $bin first" >&2
  exit 2
fi
if [ ! -d "$demo/CT" ]; then
  "$bin/tolmar" make-demo "$demo"
fi
start=$(mktemp "${TMPDIR:-/tmp}/QVXXXXXX.TMP")
folders=""
for part in CT LOCALIZER MR SC COMPRESSED PS; do
  [ -d "$demo/$part" ] && folders="$folders $demo/$part"
done
# shellcheck disable=SC2086
"$bin/tolmar" start-file viewer "$start" $folders >/dev/null
# The viewer reads and removes the start file.
exec "$bin/Pictorium" "$start"
