#!/usr/bin/env bash
# Saves a picture of the About box mid-roll, shown in a real window under Xvfb,
# as docs/about-box.png. Run after a build; the argument is the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"
xvfb-run -a -s "-screen 0 1024x768x24" \
  env QT_QPA_PLATFORM=xcb ZEFA_ABOUT_SCREENSHOT="$PWD/docs/about-box.png" \
  "$build/tests/desktop/shell/desktop_shell_tests" --gtest_filter='AboutBoxOnScreenTest.*'
