#!/usr/bin/env bash
# Renders an example page in headless Chromium and checks that the rendered
# document holds every player and every award that the statistics name.
set -euo pipefail
zefastats="$1"
log="$2"

dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT

"$zefastats" "$log" -o "$dir/stats.html" --json "$dir/stats.json"
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$dir/profile" --dump-dom "file://$dir/stats.html" \
  >"$dir/dom.html" 2>"$dir/chromium.log"

python3 - "$dir/stats.json" "$dir/dom.html" <<'PY'
import html, json, re, sys

stats = json.load(open(sys.argv[1], encoding="utf-8"))
dom = open(sys.argv[2], encoding="utf-8").read()
# The text a reader sees: tags removed, entities decoded.
text = html.unescape(re.sub(r"<[^>]+>", "", dom))

expected = [p["strippedName"] for p in stats["players"]] + [a["name"] for a in stats["awards"]]
missing = [name for name in expected if name not in text]
if not stats["players"] or not stats["awards"]:
    sys.exit("the example log gave no players or no awards")
if missing:
    sys.exit("not rendered: " + ", ".join(missing))
print(f"rendered {len(stats['players'])} players and {len(stats['awards'])} awards")
PY
