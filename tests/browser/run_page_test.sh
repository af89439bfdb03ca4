#!/usr/bin/env bash
# Runs the browser walk-through of the configuration page, or reports it skipped (exit 77) when
# this machine lacks Node.js, Chromium or the test's Node packages.
# usage: run_page_test.sh PROGRAM TOOL SHOTS_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
chromium=${CHIMEWELL_CHROMIUM:-/usr/bin/chromium}

skip() { echo "browser test skipped: $1" >&2; exit 77; }
command -v node >/dev/null || skip "node is not installed"
[ -x "$chromium" ] || skip "no Chromium at $chromium"
[ -d "$here/node_modules/playwright-core" ] ||
  skip "run 'npm ci --prefix tests/browser' (scripts/install-deps does it)"

exec node "$here/page_test.mjs" --program "$1" --tool "$2" --shots "$3" --chromium "$chromium"
