#!/usr/bin/env bash
# The SQL Server scripts of the ERP database: read by the T-SQL parser where it can (parse_tsql.mjs lists
# what it cannot and why), and checked against the SQLite side of the product (tsql_tests). The script for an
# existing ERP database is read as `agganci sqlserver-script --existing-database` prints it.
#   check_scripts.sh TSQL_TESTS AGGANCI
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ -d "$here/node_modules" ] || (cd "$here" && npm ci --no-audit --no-fund --silent)
"$1" --gtest_brief=1 --gtest_filter='SqlServerSchema.*:DuplicaArt.*'
node "$here/parse_tsql.mjs" --script "$here/../../erp/schema_tsql.sql"
node "$here/parse_tsql.mjs" --script "$here/../../erp/spmg_duplicaart.sql"
existing=$(mktemp -t agganci-existing-database.XXXXXX.sql)
trap 'rm -f "$existing"' EXIT
"$2" sqlserver-script --existing-database >"$existing"
node "$here/parse_tsql.mjs" --script "$existing"
