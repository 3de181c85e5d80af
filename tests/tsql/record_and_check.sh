#!/usr/bin/env bash
# Records the T-SQL of real runs of agganci on a demo company (a generation run, a mass run, a complete
# duplicate, the forms' list statements), then checks the recording: the translation memo against direct
# translation (tsql_tests), and every statement read by the T-SQL parser (parse_tsql.mjs).
#   record_and_check.sh AGGANCI TSQL_TESTS WORKDIR
set -euo pipefail
agganci=$1 tests=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)
[ -d "$here/node_modules" ] || (cd "$here" && npm ci --no-audit --no-fund --silent)
rm -rf "$work" && mkdir -p "$work" && cd "$work"
"$agganci" demo-db demo.db >/dev/null
export AGGANCI_RECORD_STATEMENTS=$work/statements.jsonl
run() {  # exit 2 (some articles not created, each with its reason) is an outcome, not a failure
  local rc=0
  "$agganci" --db sqlite:demo.db "$@" >>runs.log 2>&1 || rc=$?
  if [ "$rc" -ne 0 ] && [ "$rc" -ne 2 ]; then echo "agganci $* exited $rc:"; tail -5 runs.log; exit 1; fi
}
run generate MODELLO04 --proceed-without-variants
run generate MODELLO01 --proceed-without-variants
run mass --where Famiglia=CAM --mode prefix --text X --proceed-without-variants
run mass --where Famiglia=CAM --mode mask --text 'Z####' --truncate yes --proceed-without-variants
run duplicate MODELLO01 NEWCODE
run links show MODELLO01
run links add MODELLO02 --fabric TS-LINO-BLU --description Nuovo --main-fabric TS-COTONE-BIANCO
run generate MODELLO02 --proceed-without-variants
run links remove MODELLO02 --fabric TS-LINO-BLU
run mass --where Famiglia=CAM --mode prefix --text Y --truncate yes --variant TAG=on --variant COL=on:auto
run links add MODELLO02 --fabric TS-SETA-ROSSA --description Nuovo2 --main-fabric TS-COTONE-BIANCO --sequence 10
run generate MODELLO04 --regenerate --variant TAG=on
run links remove MODELLO02
run variants MODELLO01
unset AGGANCI_RECORD_STATEMENTS
count=$(wc -l <statements.jsonl)
echo "$count statement shapes recorded"
# A recorder that stopped recording would pass everything below.
[ "$count" -ge 200 ] || { echo "too few statements recorded: $count"; exit 1; }
AGGANCI_RECORDED_STATEMENTS=$work/statements.jsonl "$tests" --gtest_brief=1 --gtest_filter='RecordedStatements.*'
node "$here/parse_tsql.mjs" --statements statements.jsonl
