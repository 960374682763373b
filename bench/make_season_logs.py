#!/usr/bin/env python3
"""Writes a large season for measuring `zefastats season`: N distinct console logs, and
with --store a season store of them.

Each log is one of the example season's matches with its ten names drawn from a pool of
PLAYERS players (default 3,000; the ten names of the examples, each with one of
PLAYERS / 10 numbers), a line of its own, and a modification time ten minutes after the
log before it (from 2026-01-01), so every log has its own bytes, players recur across logs
as in a league's history and the played order is the log's number. --lines keeps only the
first LINES lines of each log (smaller logs, the same players). No two logs share a run of
game events (but by a chance of about one in 10^9 a pair), so every log is a match of its
own without --keep-overlap.

    bench/make_season_logs.py DIR N [--players 3000] [--lines L]
        writes DIR/logs/log000000.log ...
    bench/make_season_logs.py DIR N --store [--zefastats build/default/src/cli/zefastats]
        also imports them into DIR/season.db with `zefastats season import` (one process
        for each 10,000 logs: the store's own import of every log)

A season of 100,000 matches and 3,000 players:

    bench/make_season_logs.py /tmp/league 100000 --lines 300 --store
"""
import argparse
import os
import pathlib
import random
import subprocess
import sys
import time

NAMES = ["Viper", "Ice^7Man", "Doc Holliday", "Zed", "Ace", "Neo", "Ghost", "Tank", "Moss", "Raven"]
START = 1767225600  # 2026-01-01T00:00:00Z
SPACING = 600
CHUNK = 10_000
ROOT = pathlib.Path(__file__).resolve().parent.parent


def log_text(base, i, numbers, lines):
    if lines:
        base = b"".join(base.splitlines(keepends=True)[:lines])
    draw = random.Random(i)  # the same season on every run
    for name in NAMES:
        base = base.replace(name.encode(), f"{name}{draw.randrange(numbers)}".encode())
    return base + f"log {i}\n".encode()


def write_logs(folder, count, players, lines):
    folder.mkdir(parents=True, exist_ok=True)
    examples = sorted((ROOT / "examples" / "season").glob("match-??.log"))
    bases = [p.read_bytes() for p in examples]
    numbers = max(1, players // len(NAMES))
    for i in range(count):
        path = folder / f"log{i:06d}.log"
        path.write_bytes(log_text(bases[i % len(bases)], i, numbers, lines))
        played = START + i * SPACING
        os.utime(path, (played, played))


def import_logs(folder, store, zefastats):
    logs = sorted(folder.glob("*.log"))
    began = time.monotonic()
    for first in range(0, len(logs), CHUNK):
        chunk = [str(p) for p in logs[first:first + CHUNK]]
        done = subprocess.run([zefastats, "season", "import", str(store), *chunk], check=True,
                              stdout=subprocess.PIPE, text=True)
        print(done.stdout.splitlines()[-1])
    seconds = time.monotonic() - began
    print(f"{len(logs)} logs imported into {store} in {seconds:.1f} s "
          f"({len(logs) / seconds:.0f} logs/s)")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("dir", type=pathlib.Path)
    parser.add_argument("count", type=int)
    parser.add_argument("--players", type=int, default=3000)
    parser.add_argument("--lines", type=int, default=0, help="keep the first LINES lines")
    parser.add_argument("--store", action="store_true", help="import them into DIR/season.db")
    parser.add_argument("--zefastats", default=str(ROOT / "build/default/src/cli/zefastats"))
    args = parser.parse_args()
    logs = args.dir / "logs"
    write_logs(logs, args.count, args.players, args.lines)
    if args.store:
        import_logs(logs, args.dir / "season.db", args.zefastats)
    return 0


if __name__ == "__main__":
    sys.exit(main())
