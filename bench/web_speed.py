#!/usr/bin/python3
"""Generation speed of zefastats-web.html inside headless Chromium beside the
native `zefastats -g 2` on the same log, in the same run; the page's size and
its time from opening to ready. Medians of RUNS runs each.

    taskset -c 1 bench/web_speed.py ZEFASTATS WEB_PAGE LOG [RUNS]

The 1,000,000-line log is the one zefa_bench writes
(build/default/bench/zefa_bench --benchmark_filter=BM_CountLines leaves it
in the temporary directory as zefa-bench-1000000.log).
"""

import os
import pathlib
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "web"))
from webapp import WebApp  # noqa: E402

zefastats, page, log = sys.argv[1:4]
runs = int(sys.argv[4]) if len(sys.argv) > 4 else 3
lines = pathlib.Path(log).read_bytes().count(b"\n")

native = []
for _ in range(runs):
    start = time.monotonic()
    subprocess.run([zefastats, "-g", "2", log, "-o", os.devnull], check=True)
    native.append(time.monotonic() - start)

ready, core, whole = [], [], []
with tempfile.TemporaryDirectory() as downloads:
    app = WebApp(page, downloads)
    try:
        for _ in range(runs):
            ready.append(app.open())
            start = time.monotonic()
            if app.generate(log, version=2):
                sys.exit("the page reported: " + app.find("error").text)
            whole.append(time.monotonic() - start)
            body = app.driver.find_element("tag name", "body")
            core.append(int(body.get_attribute("data-generation-ms")) / 1000)
    finally:
        app.quit()

native_rate = lines / statistics.median(native)
for name, seconds in (("native zefastats -g 2", native), ("browser, core in the worker", core),
                      ("browser, press to page shown", whole)):
    rate = lines / statistics.median(seconds)
    print(f"{name:30} {statistics.median(seconds):7.3f} s  {rate:12,.0f} lines/s  "
          f"{100 * rate / native_rate:5.1f}% of native")
print(f"{'zefastats-web.html':30} {pathlib.Path(page).stat().st_size:,} bytes")
print(f"{'opening to ready':30} {statistics.median(ready)} ms (median of {ready})")
