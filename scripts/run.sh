#!/usr/bin/env bash
# The suite's main job on its embedded default: build, write the demo study with the
# suite's own writer, prepare the embedded database (SQLite through ODBC: data sources,
# schema) and file the demo study in it, then open the study.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
tolmar="$root/build/bin/tolmar"
data="${XDG_DATA_HOME:-$HOME/.local/share}/tolmar"
demo="$data/demo"
mkdir -p "$data"
if [ ! -d "$demo/CT" ]; then
  "$tolmar" make-demo "$demo"
fi
# unixODBC looks for the user's data sources in the password-file home unless ODBCINI
# names the file; name it, so that the data sources follow $HOME.
export ODBCINI="${ODBCINI:-$HOME/.odbc.ini}"
TOLMAR="$tolmar" sh "$root/scripts/setup-database.sh" "$demo"
"$tolmar" db studies --dsn TolmarPacs
"$tolmar" scan --full "$demo"
# Open the demo study in the viewer when there is a display to show it on.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  sh "$root/scripts/view-demo.sh" "$root/build" "$demo"
else
  echo "run: no display; open the study with: sh scripts/view-demo.sh build '$demo'"
fi
