#!/usr/bin/env python3
"""Writes N distinct console logs for measuring `zefastats season` on a large store.

Each log is one of the example season's matches with its players renamed
from a pool of a few hundred names and a line of its own, so every log has
its own bytes and players recur across logs as in a large clan's history.

    bench/make_season_logs.py DIR N
    zefastats season import --keep-overlap DIR/season.db DIR/*.log
"""
import pathlib
import sys

NAMES = ["Viper", "Ice^7Man", "Doc Holliday", "Zed", "Ace", "Neo", "Ghost", "Tank", "Moss", "Raven"]


def main():
    out, count = pathlib.Path(sys.argv[1]), int(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    examples = sorted((pathlib.Path(__file__).resolve().parent.parent / "examples" / "season")
                      .glob("match-??.log"))
    bases = [p.read_bytes() for p in examples]
    for i in range(count):
        text = bases[i % len(bases)]
        for k, name in enumerate(NAMES):
            variant = f"{name}{(i * (k + 3) // 7) % (31 + k)}"
            text = text.replace(name.encode(), variant.encode())
        (out / f"log{i:05d}.log").write_bytes(text + f"log {i}\n".encode())
    return 0


if __name__ == "__main__":
    sys.exit(main())
