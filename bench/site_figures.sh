#!/bin/sh
# The season site's figures on a large store: the full build, a rebuild with
# nothing new, a rebuild after one more match, the largest page and file (and
# data file, the site's record and the season it keeps), the site's size, and the peak memory of
# each run.
#
#     bench/site_figures.sh ZEFASTATS STORE ONE_MORE_LOG SITE_DIR [SITE_OPTION...]
#
# STORE is changed (ONE_MORE_LOG is imported into it, played after all of its
# matches); SITE_DIR is made afresh.
# Fill a store with bench/make_season_logs.py and `season import --keep-overlap`.
set -eu
zefastats=$1 store=$2 log=$3 site=$4
shift 4  # what is left goes to every `season site`, such as --gzip-match-pages
# An earlier site is moved aside and removed at the end: on ext4 without a
# journal, files made in the minute after many were removed take much longer
# to make (the inodes just freed are passed over one by one), which the full
# build would be timed with.
old="$site.old.$$"
if [ -e "$site" ]; then mv "$site" "$old"; fi

run() {  # label, command...: its output, wall time and peak memory
    label=$1
    shift
    /usr/bin/time -f "$label: %e s, peak %M KB" "$@" 2>&1 | tail -n 2
}

run "full build" "$zefastats" season site "$store" -o "$site" "$@"
run "nothing new" "$zefastats" season site "$store" -o "$site" "$@"
# One more match played ten minutes after the season's last one, as a new upload is.
last=$("$zefastats" season matches "$store" | tail -n 1 | awk '{print $2}')
"$zefastats" season import --keep-overlap --played-at \
    "$(date -u -d "$last + 10 minutes" +%Y-%m-%dT%H:%M:%SZ)" "$store" "$log" >/dev/null
run "one new match" "$zefastats" season site "$store" -o "$site" "$@"
run "full over the built site" "$zefastats" season site "$store" -o "$site" --full "$@"
run "season export" "$zefastats" season export "$store" --json /dev/null
run "season players" sh -c '"$0" season players "$1" >/dev/null' "$zefastats" "$store"

echo "files: $(find "$site" -type f | wc -l), total: $(du -sh "$site" | cut -f1)"
echo "largest file: $(find "$site" -type f ! -name '.zefastats-*' -printf '%s %p\n' | sort -n | tail -n 1)"
echo "largest data file: $(find "$site/data" -type f -printf '%s %p\n' | sort -n | tail -n 1)"
echo "the site's record: $(find "$site" -name .zefastats-site -printf '%s %p\n')"
echo "the season it was made from: $(find "$site" -name .zefastats-season -printf '%s %p\n')"
echo "largest page: $(find "$site" -name '*.html' -printf '%s %p\n' | sort -n | tail -n 1)"
echo "largest season page: $(find "$site" -name '*.html' ! -regex '.*/matches/[0-9]*\.html' \
    -printf '%s %p\n' | sort -n | tail -n 1)"
rm -rf "$old"
