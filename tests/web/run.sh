#!/usr/bin/env bash
# Runs one browser test (e2e or load) against the built program: tests/web/run.sh e2e path/to/agganci.
# playwright-core comes from the committed lock file; it never downloads a browser (Debian's Chromium).
set -euo pipefail
# The program and the screenshot folder are named from the caller's folder: made absolute before moving.
bin=$2
[[ $bin != */* ]] || bin=$(realpath -- "$bin")
[ -z "${AGGANCI_SCREENSHOTS:-}" ] || AGGANCI_SCREENSHOTS=$(realpath -m -- "$AGGANCI_SCREENSHOTS")
cd "$(dirname "$0")"
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
# Two tests may start together: one installs, the other waits for it.
flock .npm-install.lock bash -c '[ -d node_modules/playwright-core ] || npm ci --no-audit --no-fund --loglevel=error'
exec node "$1.mjs" "$bin"
