#!/usr/bin/env bash
# The sqlite3 shell reads a fresh demo database through the loadable extension as the program does:
#   tests/db/sqlite_shell_test.sh path/to/agganci path/to/libagganci_sqlserver.so
set -euo pipefail
agganci=$1
extension=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$agganci" demo-db "$dir/company.db" >/dev/null

query() { sqlite3 -batch -bail -cmd ".load $extension" "$dir/company.db" "$1"; }
expect() {
  if [ "$2" != "$3" ]; then
    printf '%s: expected [%s], got [%s]\n' "$1" "$3" "$2" >&2
    exit 1
  fi
}

# The primary key's index is searched with the collation: other case and trailing blanks find the row.
expect "WHERE" "$(query "SELECT MG66_CODART FROM MG66_ANAGRART WHERE MG66_CODART = 'modello01   '")" "MODELLO01"
# Case folded (ASCII and Latin-1), accents kept: 'b' between 'A' and 'C', 'é' after every ASCII letter.
expect "ORDER BY" "$(query "CREATE TEMP TABLE t (c TEXT COLLATE SQLSERVER);
  INSERT INTO t VALUES ('é'), ('C'), ('b'), ('É '), ('A'), ('e');
  SELECT group_concat(c, ',') FROM (SELECT c FROM t ORDER BY c, rowid)")" "A,b,C,e,é,É "
# Every index agrees with the collation, also once VACUUM has rebuilt them all.
expect "integrity_check" "$(query "VACUUM; PRAGMA integrity_check")" "ok"
