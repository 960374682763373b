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

# The example season's web pages: its logs kept in season-demo.db, made afresh,
# each match played when examples/season-times.txt says (a checkout does not
# keep the files' times), then the site made from that store.
if compgen -G "examples/season/*.log" >/dev/null; then
  rm -f season-demo.db season-demo.db-wal season-demo.db-shm
  # shellcheck disable=SC2046 # the file holds one argument a word
  build/default/src/cli/zefastats season import season-demo.db examples/season/*.log \
    $(cat examples/season-times.txt) >/dev/null
  build/default/src/cli/zefastats season site season-demo.db -o season-site --title "Example season"
  echo "Wrote $(pwd)/season-site/index.html"
fi
