#!/usr/bin/env python3
"""Measures `zefastats record` following a console log.

Full speed: a game writer puts LINES lines (default 1,000,000) into the log as
fast as the disk takes them, through a 4 KiB buffer as C's stdio does; the
figures are the lag at the end (from the writer's last write until the spool
holds every byte) and the recorder's CPU time per MB followed.

Idle (--idle SECONDS, 600 for the ten minutes of the figure): the recorder
follows a log that does not change; the figure is its CPU time over that
while, after it has copied the log.

CPU time is the recorder's own (its scheduler run time, /proc/PID/schedstat);
no season is given, so no import runs beside it.

    bench/record_follow.py build/default/src/cli/zefastats
    bench/record_follow.py build/default/src/cli/zefastats --idle 600
"""
import argparse
import os
import pathlib
import signal
import subprocess
import sys
import tempfile
import time


def cpu_seconds(pid):
    return int(pathlib.Path(f"/proc/{pid}/schedstat").read_text().split()[0]) / 1e9


def spool_size(archive):
    return sum(p.stat().st_size for p in archive.glob("*.log"))


def start_recorder(zefastats, log, archive, out):
    recorder = subprocess.Popen([zefastats, "record", str(log), "--archive", str(archive)],
                                stdout=out, stderr=subprocess.STDOUT)
    while b"following" not in pathlib.Path(out.name).read_bytes():
        time.sleep(0.01)
    return recorder


def wait_for_spool(archive, size, limit=60.0):
    until = time.monotonic() + limit
    while spool_size(archive) < size:
        if time.monotonic() > until:
            sys.exit(f"the spool did not reach {size} bytes")
        time.sleep(0.001)
    return time.monotonic()


def line(i):
    return f"S1p{i % 6} was nailed by S1p{(i + 1 + i // 6) % 6}\n".encode()


def full_speed(zefastats, folder, lines):
    log, archive = folder / "qconsole.log", folder / "recordings"
    log.touch()
    with open(folder / "out.txt", "wb") as out:
        recorder = start_recorder(zefastats, log, archive, out)
        begin_cpu = cpu_seconds(recorder.pid)
        began = time.monotonic()
        with open(log, "ab", buffering=4096) as game:
            for i in range(lines):
                game.write(line(i))
        written = time.monotonic()
        size = log.stat().st_size
        caught_up = wait_for_spool(archive, size)
        cpu = cpu_seconds(recorder.pid) - begin_cpu
        recorder.send_signal(signal.SIGTERM)
        status = recorder.wait()
    mb = size / 1e6
    print(f"{lines} lines, {mb:.1f} MB written in {written - began:.2f} s "
          f"({mb / (written - began):.0f} MB/s)")
    print(f"lag at the end: {(caught_up - written) * 1000:.1f} ms")
    print(f"recorder CPU: {cpu:.3f} s, {cpu / mb * 1000:.2f} ms per MB")
    print(f"exit status after SIGTERM: {status}")


def idle(zefastats, folder, seconds):
    log, archive = folder / "qconsole.log", folder / "recordings"
    log.write_bytes(b"".join(line(i) for i in range(10000)))
    with open(folder / "out.txt", "wb") as out:
        recorder = start_recorder(zefastats, log, archive, out)
        wait_for_spool(archive, log.stat().st_size)
        begin_cpu = cpu_seconds(recorder.pid)
        time.sleep(seconds)
        cpu = cpu_seconds(recorder.pid) - begin_cpu
        recorder.send_signal(signal.SIGTERM)
        recorder.wait()
    print(f"idle for {seconds} s: recorder CPU {cpu * 1000:.3f} ms")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("zefastats")
    parser.add_argument("--lines", type=int, default=1_000_000)
    parser.add_argument("--idle", type=float, metavar="SECONDS")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        if args.idle:
            idle(args.zefastats, pathlib.Path(folder), args.idle)
        else:
            full_speed(args.zefastats, pathlib.Path(folder), args.lines)
    return 0


if __name__ == "__main__":
    sys.exit(main())
