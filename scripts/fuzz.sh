#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60),
# seeded with the example logs, the themes and request targets. Any crash, leak or hang fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

run() {
  local target="$1" seeds="$2"
  local corpus
  corpus="$(mktemp -d)"
  echo "== $target for ${seconds}s =="
  "build/fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
    -max_len=65536 -print_final_stats=1 "$corpus" "$seeds" 2>&1 | tail -n 12
  local status=${PIPESTATUS[0]}
  rm -rf "$corpus"
  return "$status"
}

run fuzz_classifier examples
run fuzz_page_writer src/resources/themes
run fuzz_site_path fuzz/site_paths
