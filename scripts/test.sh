#!/usr/bin/env bash
# Sets up, builds and runs every test: the browser page (WebAssembly), the normal build, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, a short run of each fuzz target, and the Debian
# packages, built, installed on a fresh Debian system and used.
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

# The Debian packages, built without running the suite again, then installed
# and used on a fresh Debian system (as root).
echo "== Debian packages =="
DEB_BUILD_OPTIONS="nocheck${DEB_BUILD_OPTIONS:+ $DEB_BUILD_OPTIONS}" scripts/package.sh
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo scripts/install_test.sh
