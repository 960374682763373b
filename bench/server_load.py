#!/usr/bin/python3
"""Figures of `zefastats season serve` over loopback.

    bench/server_load.py ZEFASTATS [--logs 2000] [--clients 8] [--slow 200]
    bench/server_load.py ZEFASTATS --kill 5 [--logs 400]

Load: CLIENTS clients send LOGS distinct logs (bench/make_season_logs.py),
each with a token of its own: uploads per second, p50 and p99 latency, the
answers, the server's peak memory; then the same logs again (all "already
stored"). Then SLOW connections that send a request a byte a second are held
open while a normal upload is timed, and a new match is uploaded to a season
of LOGS matches and its page asked for until it is served.

Kill: the same clients, retrying what was not acknowledged (connection
refused or reset, 429, 503), while the server is killed with SIGKILL KILL
times at random moments and started again; then every acknowledged upload
must be in the store, no log stored twice, and integrity_check ok.
"""
import argparse
import concurrent.futures
import http.client
import json
import pathlib
import random
import re
import socket
import sqlite3
import statistics
import subprocess
import sys
import tempfile
import threading
import time

HERE = pathlib.Path(__file__).resolve().parent


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Server:
    def __init__(self, zefastats, store, site, port):
        self.args = [zefastats, "season", "serve", store, "--site", site, "--listen",
                     f"127.0.0.1:{port}", "--min-matches", "0", "--token-burst", "100000",
                     "--queue", "1000"]
        self.port = port
        self.err = open(pathlib.Path(store).parent / "server.err", "a")
        self.process = None

    def start(self):
        self.process = subprocess.Popen(self.args, stderr=self.err)
        for _ in range(200):
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                return
            except OSError:
                time.sleep(0.05)
        raise RuntimeError("the server did not start")

    def peak_kib(self):
        status = pathlib.Path(f"/proc/{self.process.pid}/status").read_text()
        return int(re.search(r"VmHWM:\s+(\d+)", status).group(1))

    def stop(self, signal_name="TERM"):
        if signal_name == "KILL":
            self.process.kill()
        else:
            self.process.terminate()
        return self.process.wait(120)


def upload(port, token, body, name, timeout=120):
    """(status, answer, seconds)."""
    began = time.monotonic()
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=timeout)
    try:
        connection.request("POST", f"/api/v1/recordings?file={name}", body,
                           {"Authorization": f"Bearer {token}",
                            "Content-Type": "application/octet-stream"})
        response = connection.getresponse()
        answer = json.loads(response.read() or b"{}")
        return response.status, answer, time.monotonic() - began
    finally:
        connection.close()


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(p / 100 * len(ordered)))]


def send_all(port, tokens, logs, clients):
    began = time.monotonic()
    with concurrent.futures.ThreadPoolExecutor(clients) as pool:
        results = list(pool.map(
            lambda i: upload(port, tokens[i % clients], logs[i].read_bytes(), logs[i].name),
            range(len(logs))))
    seconds = time.monotonic() - began
    outcomes = {}
    for status, answer, _ in results:
        key = f"{status} {answer.get('outcome')}"
        outcomes[key] = outcomes.get(key, 0) + 1
    latencies = [r[2] for r in results]
    print(f"  {len(logs)} uploads in {seconds:.1f} s: {len(logs) / seconds:.1f} uploads/s, "
          f"p50 {percentile(latencies, 50) * 1000:.0f} ms, p99 {percentile(latencies, 99) * 1000:.0f} ms")
    print(f"  answers: {outcomes}")
    return outcomes


def slow_clients(port, count, stop):
    sockets = []
    for _ in range(count):
        s = socket.create_connection(("127.0.0.1", port))
        s.sendall(b"POST /api/v1/recordings HTTP/1.1\r\nHost: x\r\n")
        sockets.append(s)
    while not stop.is_set():
        for s in sockets:
            try:
                s.send(b"X")
            except OSError:
                pass
        stop.wait(1)
    for s in sockets:
        s.close()


def load(args, tmp, tokens, logs, server):
    print(f"{len(logs)} distinct logs, {args.clients} clients:")
    first = send_all(server.port, tokens, logs, args.clients)
    print("the same logs again:")
    again = send_all(server.port, tokens, logs, args.clients)
    print(f"server peak memory (VmHWM): {server.peak_kib() / 1024:.0f} MiB")

    stop = threading.Event()
    holder = threading.Thread(target=slow_clients, args=(server.port, args.slow, stop))
    holder.start()
    time.sleep(3)
    extra = tmp / "extra"
    subprocess.run([sys.executable, HERE / "make_season_logs.py", extra, str(len(logs) + 1)],
                   check=True)
    newest = sorted(extra.glob("*.log"))[-1]
    status, answer, seconds = upload(server.port, tokens[0], newest.read_bytes(), "extra.log")
    print(f"{args.slow} slow connections held open: a normal upload answered {status} "
          f"in {seconds * 1000:.0f} ms")
    stop.set()
    holder.join()

    page = f"/{answer['url'].replace('.html', '-season.html')}"
    uploaded = time.monotonic()
    while True:
        connection = http.client.HTTPConnection("127.0.0.1", server.port, timeout=30)
        connection.request("GET", page)
        if connection.getresponse().status == 200:
            break
        connection.close()
        time.sleep(0.05)
    matches = sqlite3.connect(tmp / "season.db").execute("SELECT count(*) FROM match").fetchone()[0]
    print(f"upload to its match page served, on a season of {matches} matches: "
          f"{seconds + time.monotonic() - uploaded:.2f} s")
    return first, again


def killed(args, tmp, tokens, logs, server):
    acknowledged = set()
    lock = threading.Lock()
    pending = list(range(len(logs)))
    random.shuffle(pending)

    def client(c):
        mine = pending[c::args.clients]
        while mine:
            i = mine[0]
            try:
                status, answer, _ = upload(server.port, tokens[c], logs[i].read_bytes(),
                                           logs[i].name, timeout=30)
            except (OSError, http.client.HTTPException, json.JSONDecodeError):
                time.sleep(0.2)
                continue
            if status in (200, 201):
                with lock:
                    acknowledged.add(logs[i].name)
                mine.pop(0)
            elif status in (429, 503):
                time.sleep(0.2)
            else:
                raise RuntimeError(f"{logs[i].name}: {status} {answer}")

    with concurrent.futures.ThreadPoolExecutor(args.clients) as pool:
        running = [pool.submit(client, c) for c in range(args.clients)]
        for _ in range(args.kill):
            time.sleep(random.uniform(0.5, 3))
            server.stop("KILL")
            server.start()
        for done in running:
            done.result()
    server.stop()
    db = sqlite3.connect(tmp / "season.db")
    integrity = db.execute("PRAGMA integrity_check").fetchone()[0]
    stored = {row[0] for row in db.execute("SELECT file FROM recording")}
    rows = db.execute("SELECT count(*) FROM recording").fetchone()[0]
    distinct = db.execute("SELECT count(DISTINCT sha256) FROM recording").fetchone()[0]
    missing = acknowledged - stored
    print(f"{args.kill} kills -9 during {len(logs)} uploads by {args.clients} clients: "
          f"{len(acknowledged)} acknowledged, {len(missing)} of them missing from the store, "
          f"{rows} recordings for {distinct} distinct logs, integrity_check {integrity}")
    return not missing and rows == distinct and integrity == "ok"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("zefastats")
    parser.add_argument("--logs", type=int, default=2000)
    parser.add_argument("--clients", type=int, default=8)
    parser.add_argument("--slow", type=int, default=200)
    parser.add_argument("--kill", type=int, default=0)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as name:
        tmp = pathlib.Path(name)
        subprocess.run([sys.executable, HERE / "make_season_logs.py", tmp / "logs", str(args.logs)],
                       check=True)
        logs = sorted((tmp / "logs").glob("*.log"))
        store = tmp / "season.db"
        tokens = [subprocess.run([args.zefastats, "season", "token", "add", store, f"client{c}"],
                                 check=True, capture_output=True, text=True).stdout.strip()
                  for c in range(args.clients)]
        server = Server(args.zefastats, store, tmp / "site", free_port())
        server.start()
        if args.kill:
            return 0 if killed(args, tmp, tokens, logs, server) else 1
        load(args, tmp, tokens, logs, server)
        print(f"SIGTERM: exit status {server.stop()}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
