#!/bin/sh
# Writes the user's ODBC data sources "TolmarPacs" and "Pacs".
#
#   setup-odbc.sh                       embedded default: SQLite file under
#                                       ${XDG_DATA_HOME:-~/.local/share}/tolmar/tolmar.db
#   setup-odbc.sh --sqlite FILE         embedded, on another file
#   setup-odbc.sh --postgres HOST[:PORT] [--database NAME] [--user NAME] [--password WORD]
#                                       a shared PostgreSQL server through psqlODBC
#   --keep-existing                     leave a "TolmarPacs" that is already defined alone
#
# The data sources go into $ODBCINI when set, else ~/.odbc.ini. The drivers "SQLite3"
# and "PostgreSQL Unicode" are registered in /etc/odbcinst.ini when missing (needs root).
set -eu

usage() {
  sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

mode=sqlite
data_home=${XDG_DATA_HOME:-$HOME/.local/share}
sqlite_file=$data_home/tolmar/tolmar.db
pg_host=
pg_port=5432
pg_database=tolmar
pg_user=${USER:-postgres}
pg_password=
keep_existing=no

while [ $# -gt 0 ]; do
  case $1 in
    --sqlite) [ $# -ge 2 ] || usage; mode=sqlite; sqlite_file=$2; shift 2 ;;
    --postgres) [ $# -ge 2 ] || usage; mode=postgres; pg_host=${2%%:*}
                case $2 in *:*) pg_port=${2##*:} ;; esac; shift 2 ;;
    --database) [ $# -ge 2 ] || usage; pg_database=$2; shift 2 ;;
    --user) [ $# -ge 2 ] || usage; pg_user=$2; shift 2 ;;
    --password) [ $# -ge 2 ] || usage; pg_password=$2; shift 2 ;;
    --keep-existing) keep_existing=yes; shift ;;
    -h|--help) usage ;;
    *) echo "setup-odbc.sh: unknown argument $1" >&2; usage ;;
  esac
done

ini=${ODBCINI:-$HOME/.odbc.ini}

fail() { echo "setup-odbc.sh: $*" >&2; exit 1; }

command -v odbcinst >/dev/null 2>&1 || fail "odbcinst not found (install unixodbc)"

# Registers a driver when /etc/odbcinst.ini does not know it yet.
ensure_driver() {
  name=$1 library=$2 description=$3
  if odbcinst -q -d -n "$name" >/dev/null 2>&1; then return 0; fi
  path=$(ls /usr/lib/*/odbc/"$library" 2>/dev/null | head -n 1)
  [ -n "$path" ] || fail "ODBC driver library $library not found"
  [ "$(id -u)" = 0 ] || fail "driver \"$name\" is not registered; run as root once to register it"
  tmp=$(mktemp)
  printf '[%s]\nDescription=%s\nDriver=%s\nSetup=%s\n' "$name" "$description" "$path" "$path" >"$tmp"
  odbcinst -i -d -f "$tmp" >/dev/null
  rm -f "$tmp"
}

# Drops the named sections from the ini file, keeping everything else.
remove_sections() {
  [ -f "$ini" ] || return 0
  tmp=$(mktemp)
  awk -v names="$*" '
    BEGIN { n = split(names, list, " "); for (i = 1; i <= n; i++) drop["[" list[i] "]"] = 1 }
    /^[ \t]*\[/ { name = $0; gsub(/[ \t]/, "", name); skipping = (name in drop) }
    skipping { next }
    /^[ \t]*$/ { blanks = blanks "\n"; next }
    { printf "%s", blanks; blanks = ""; print }
  ' "$ini" >"$tmp"
  cat "$tmp" >"$ini"
  rm -f "$tmp"
}

if [ "$keep_existing" = yes ] && [ -f "$ini" ] && grep -q '^[[:space:]]*\[TolmarPacs\]' "$ini"; then
  echo "data source TolmarPacs already defined in $ini; kept"
  exit 0
fi

mkdir -p "$(dirname "$ini")"
remove_sections TolmarPacs Pacs

if [ "$mode" = sqlite ]; then
  ensure_driver SQLite3 libsqlite3odbc.so "SQLite3 ODBC Driver"
  mkdir -p "$(dirname "$sqlite_file")"
  for dsn in TolmarPacs Pacs; do
    printf '\n[%s]\nDescription=Tolmar PACS (embedded)\nDriver=SQLite3\nDatabase=%s\nTimeout=60000\nJournalMode=WAL\nSyncPragma=NORMAL\n' \
      "$dsn" "$sqlite_file" >>"$ini"
  done
  echo "data sources TolmarPacs, Pacs -> SQLite $sqlite_file ($ini)"
else
  [ -n "$pg_host" ] || usage
  ensure_driver "PostgreSQL Unicode" psqlodbcw.so "PostgreSQL ODBC driver (Unicode version)"
  for dsn in TolmarPacs Pacs; do
    printf '\n[%s]\nDescription=Tolmar PACS (shared)\nDriver=PostgreSQL Unicode\nServername=%s\nPort=%s\nDatabase=%s\nUsername=%s\nPassword=%s\n' \
      "$dsn" "$pg_host" "$pg_port" "$pg_database" "$pg_user" "$pg_password" >>"$ini"
  done
  chmod 600 "$ini"
  echo "data sources TolmarPacs, Pacs -> PostgreSQL $pg_host:$pg_port/$pg_database ($ini)"
fi
