#!/usr/bin/python3
"""Saves docs/web-app.png: zefastats-web.html (as the wasm preset builds it)
with the page of an example log, in headless Chromium.

    scripts/web_screenshot.py [WEB_PAGE]
"""

import pathlib
import sys
import tempfile

root = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(root / "tests" / "web"))
from webapp import WebApp  # noqa: E402

page = sys.argv[1] if len(sys.argv) > 1 else root / "build/wasm/src/web/zefastats-web.html"
with tempfile.TemporaryDirectory() as downloads:
    app = WebApp(page, downloads)
    try:
        app.driver.set_window_size(1280, 1100)
        app.open()
        app.generate(root / "examples" / "beta2-ctf.log")
        # The result is one window high and scrolled into view; the picture shows the form above it.
        app.driver.execute_script("document.getElementById('result').style.height = '560px'; scrollTo(0, 0)")
        app.driver.save_screenshot(str(root / "docs" / "web-app.png"))
    finally:
        app.quit()
