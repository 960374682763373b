#!/usr/bin/python3
"""A stand-in for a season server's recordings API on 127.0.0.1, for tests.

    fake_recordings_server.py DIR TOKEN [STATUS...]

Writes its port into DIR/port. The first uploads with the right token are
answered with the STATUS codes given, in turn; after them each new body is
kept as DIR/bodies/N (N from 1, in order of arrival) and answered 201, a
body seen before 200 "already". A wrong token is answered 401. Every
request is one line of DIR/requests.txt: status, path and query, content
type. Ends after 400 requests or 120 seconds.
"""
import hashlib
import http.server
import json
import os
import sys
import time

folder, token, scripted = sys.argv[1], sys.argv[2], [int(s) for s in sys.argv[3:]]
os.makedirs(os.path.join(folder, "bodies"), exist_ok=True)
seen = {}
handled = 0


class Handler(http.server.BaseHTTPRequestHandler):
    timeout = 10

    def do_POST(self):
        global handled
        handled += 1
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length)
        if len(body) < length:
            return  # the sender went away
        answer = {"outcome": "", "reason": ""}
        if self.headers.get("Authorization") != "Bearer " + token:
            status, answer["reason"] = 401, "unknown token"
        elif scripted:
            status, answer["reason"] = scripted.pop(0), "scripted"
        else:
            digest = hashlib.sha256(body).hexdigest()
            status, answer["outcome"] = (200, "already") if digest in seen else (201, "stored")
            seen.setdefault(digest, len(seen) + 1)
            answer["match"] = seen[digest]
            if status == 201:
                with open(os.path.join(folder, "bodies", str(seen[digest])), "wb") as out:
                    out.write(body)
        with open(os.path.join(folder, "requests.txt"), "a") as log:
            log.write(f"{status}\t{self.path}\t{self.headers.get('Content-Type')}\n")
        text = json.dumps(answer).encode()
        self.send_response(status)
        if status in (429, 503):
            self.send_header("Retry-After", "1")
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(text)))
        self.end_headers()
        self.wfile.write(text)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
server.timeout = 1
with open(os.path.join(folder, "port.new"), "w") as out:
    out.write(str(server.server_address[1]))
os.rename(os.path.join(folder, "port.new"), os.path.join(folder, "port"))
until = time.monotonic() + 120
while handled < 400 and time.monotonic() < until:
    server.handle_request()
