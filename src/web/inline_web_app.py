#!/usr/bin/env python3
"""Writes zefastats-web.html: the app's page with its style, its script and the
worker (the app's worker script after the core's module script, which holds
the WebAssembly) inlined, under a Content-Security-Policy that allows exactly
these inlined parts and no connection.

    inline_web_app.py APP_DIR CORE_JS OUTPUT
"""

import base64
import hashlib
import pathlib
import re
import sys


def sha256(text):
    return "'sha256-" + base64.b64encode(hashlib.sha256(text.encode()).digest()).decode() + "'"


def inlined(text, what):
    # Inside a script element only these could end it early.
    if re.search(r"</script|<!--", text, re.IGNORECASE):
        sys.exit(f"inline_web_app: {what} holds text that would end its script element")
    return text


def main():
    app_dir, core_js, output = map(pathlib.Path, sys.argv[1:4])
    read = lambda name: (app_dir / name).read_text(encoding="utf-8")
    app = inlined(read("app.js"), "app.js")
    worker = inlined(core_js.read_text(encoding="utf-8") + "\n" + read("worker.js"), "the worker")
    style = read("app.css")
    # The generated page is shown in a sandboxed frame that inherits this
    # policy: its own style sheet needs inline styles, its scripts never run.
    csp = "; ".join([
        "default-src 'none'",
        f"script-src {sha256(app)} 'wasm-unsafe-eval'",
        "worker-src blob:",
        "style-src 'unsafe-inline'",
        "img-src data: blob:",
        "frame-src 'none'",  # srcdoc, which shows the page, needs no source
        "connect-src 'none'",
        "form-action 'none'",
        "base-uri about:",  # the frame's page resolves its links against itself
    ])
    parts = {"CSP": csp, "STYLE": style, "WORKER": worker, "APP": app}
    page = re.sub(r"@(CSP|STYLE|WORKER|APP)@", lambda m: parts[m.group(1)], read("index.html"))
    output.write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main()
