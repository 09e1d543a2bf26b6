#!/bin/sh
# Prepares the embedded database for a new user: the data sources "TolmarPacs" and
# "Pacs" (kept when already defined), the schema, and the demo study folder when given.
#
#   setup-database.sh [DEMO_FOLDER]
#
# The tolmar tool is taken from $TOLMAR, else from the build folder beside this script.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
tolmar=${TOLMAR:-$here/../build/bin/tolmar}
[ -x "$tolmar" ] || { echo "setup-database.sh: $tolmar not found (set TOLMAR)" >&2; exit 1; }
[ $# -le 1 ] || { echo "usage: setup-database.sh [DEMO_FOLDER]" >&2; exit 2; }

"$here/setup-odbc.sh" --keep-existing
"$tolmar" db init --dsn TolmarPacs
if [ $# -eq 1 ]; then
  # Importing again adds nothing, so this is safe on every start.
  "$tolmar" import "$1" --dsn TolmarPacs
fi
