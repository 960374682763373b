#!/usr/bin/env bash
# Sets up, builds the `zefastats` command and writes stats.html from an example
# console log with the built-in theme.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target zefastats
build/default/src/cli/zefastats examples/beta2-ctf.log -o stats.html
echo "Wrote $(pwd)/stats.html"

# The example season's web pages: its logs kept in season-demo.db, one match
# every three days from March 1st (a second run finds them stored already),
# then the site made from that store.
if compgen -G "examples/season/*.log" >/dev/null; then
  day=0
  for log in examples/season/*.log; do
    build/default/src/cli/zefastats season import season-demo.db "$log" \
      --played-at "$(date -u -d "2026-03-01 20:00 UTC + $day days" +%FT%TZ)" >/dev/null
    day=$((day + 3))
  done
  build/default/src/cli/zefastats season site season-demo.db -o season-site --title "Example season"
  echo "Wrote $(pwd)/season-site/index.html"
fi
