#!/usr/bin/env bash
# The SQL Server scripts of the ERP database: read by the T-SQL parser where it can (parse_tsql.mjs lists
# what it cannot and why), and checked against the SQLite side of the product (tsql_tests).
#   check_scripts.sh TSQL_TESTS
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ -d "$here/node_modules" ] || (cd "$here" && npm ci --no-audit --no-fund --silent)
"$1" --gtest_brief=1 --gtest_filter='SqlServerSchema.*:DuplicaArt.*'
node "$here/parse_tsql.mjs" --script "$here/../../erp/schema_tsql.sql"
node "$here/parse_tsql.mjs" --script "$here/../../erp/spmg_duplicaart.sql"
