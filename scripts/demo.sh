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
