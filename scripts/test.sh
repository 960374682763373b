#!/usr/bin/env bash
# Sets up, builds and runs every test: the browser page (WebAssembly), the normal build, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

# The browser page first: the default suite tests it in Chromium against the command.
echo "== wasm build =="
cmake --preset wasm >/dev/null
cmake --build --preset wasm

for preset in default asan; do
  echo "== $preset build =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2
done

echo "== fuzz targets =="
scripts/fuzz.sh 30

# The core and the command alone without PCRE2, without Vectorscan and without
# either: the exact matcher of log lines then classifies by itself.
for preset in core-no-pcre2 core-no-prefilter core-bare; do
  echo "== $preset build =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2
done
