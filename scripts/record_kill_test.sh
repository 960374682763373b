#!/usr/bin/env bash
# Kills `zefastats record` with SIGKILL COUNT times (default 200) at random
# moments while a simulated game plays, alone or with the import it runs, and
# starts it again each time; then checks that every session's spool holds,
# byte for byte, what the game wrote in it and that the season holds each
# session once, as after an undisturbed run. The test suite runs 40 kills.
#
#     scripts/record_kill_test.sh [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."
count="${1:-200}"
cmake --preset default >/dev/null
cmake --build --preset default --target record_command_tests
ZEFA_RECORD_KILLS="$count" build/default/tests/cli/record_command_tests \
  --gtest_filter='RecordCommandTest.KilledAtRandomMomentsEndsAsAnUndisturbedRun'
