#!/bin/sh
# The import of the bench log against its reading alone, on one core: RUNS
# runs (5 unless told) of both benchmarks, their repetitions taken in turn so
# that the machine's state weighs on both alike, and for each run the
# medians and the import's share of the reading's speed by CPU time (what the
# benchmarks' lines per second count) and by wall time.
#
#     bench/import_ratio.sh [RUNS] [ZEFA_BENCH]
set -eu
runs=${1:-5}
bench=${2:-build/default/bench/zefa_bench}
pin=""
if command -v taskset >/dev/null; then pin="taskset -c 0"; fi
echo "run  import wall/cpu ms  reading wall/cpu ms  by cpu  by wall"
for run in $(seq "$runs"); do
    $pin "$bench" --benchmark_filter='BM_ParseLogAuto$|BM_SeasonImport$' \
        --benchmark_min_time=1 --benchmark_repetitions=4 \
        --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
        --benchmark_format=csv 2>/dev/null |
        awk -F, -v run="$run" '
            $1 ~ /BM_SeasonImport_median/ { iw = $3; ic = $4 }
            $1 ~ /BM_ParseLogAuto_median/ { rw = $3; rc = $4 }
            END { printf "%3d  %7.0f / %-7.0f  %8.0f / %-8.0f  %5.1f%%  %6.1f%%\n",
                  run, iw, ic, rw, rc, 100 * rc / ic, 100 * rw / iw }'
done
