#!/usr/bin/python3
"""zefastats-web.html in headless Chromium, opened from disk: its pages and JSON
are those of `zefastats` for the same inputs, log texts stay text, the page in
its frame cannot reach the app, and nothing is requested from any server.

    web_app_test.py ZEFASTATS WEB_PAGE EXAMPLES_DIR THEMES_DIR
"""

import os
import pathlib
import random
import re
import subprocess
import sys
import tempfile
import unittest

os.environ["TZ"] = "UTC"  # for Chromium, as for the command

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from webapp import WebApp  # noqa: E402

ZEFASTATS, WEB_PAGE, EXAMPLES, THEMES = map(pathlib.Path, sys.argv[1:5])
EPOCH = 1700000000
HOSTILE_NAME = b"<img src=x onerror=alert(1)>"
HOSTILE_CHAT = b"<script>parent.document.body.dataset.reached=1</script> &amp; \xe9\x85"
OWN_THEME = (b"<html><body>\n<= TITLE =>\n <= DATE =>\n<= TIME =>\n"
             b"<script>parent.document.body.dataset.reached = 1</script>\n"
             b"<= PLAYERLOOP =>\n<p><= NAME => <= KILLS => <= RANK =>\n<= WEAPKILLLOOP =>\n"
             b"<= WEAPON => <= COUNT =>\n<= ENDLOOP =>\n<= ENDLOOP =>\n"
             b"<= AWARDSLOOP =>\n<= AWARDNAME => <= WINNER =>\n<= ENDLOOP =>\n"
             b"<= MM1LOOP =>\n<= NAME =>: <= MESSAGE =>\n<= ENDLOOP =>\n</body></html>\r\n")


def generated_log(path, example, name, seed):
    """A log of the example's lines drawn at random, one player renamed to
    markup, chat lines of script and high bytes, some lines ended CR LF."""
    rng = random.Random(seed)
    lines = (EXAMPLES / example).read_bytes().replace(name, HOSTILE_NAME).splitlines()
    drawn = [rng.choice(lines) for _ in range(3000)]
    drawn += [HOSTILE_NAME + b"^7: ^2" + HOSTILE_CHAT] * 3
    path.write_bytes(b"".join(line + (b"\r\n" if rng.random() < 0.1 else b"\n") for line in drawn))
    return path


def same_but_duration(web, native):
    """Equal bytes but for the seconds the run took, which no clock fixes."""
    if web == native:
        return True
    start = 0
    while start < min(len(web), len(native)) and web[start] == native[start]:
        start += 1
    while start and web[start - 1] in b"0123456789.":
        start -= 1
    number = re.compile(rb"\d+\.\d\d")
    a, b = number.match(web, start), number.match(native, start)
    return bool(a and b) and web[a.end():] == native[b.end():]


class WebAppTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        cls.tmp = pathlib.Path(cls.dir.name)
        cls.app = WebApp(WEB_PAGE, cls.tmp / "downloads")
        cls.ready_ms = cls.app.open(f"?epoch={EPOCH}")

    @classmethod
    def tearDownClass(cls):
        cls.app.quit()
        cls.dir.cleanup()

    def native(self, log, version, theme, awards):
        args = [ZEFASTATS, log, "-o", self.tmp / "native.html", "--json", self.tmp / "native.json",
                "-a", "all" if awards is None else ",".join(map(str, awards)) or "none"]
        if version:
            args += ["-g", str(version)]
        if theme == 1:
            args += ["-t", THEMES / "classic.thm"]
        elif not isinstance(theme, int):
            args += ["-t", theme]
        env = dict(os.environ, TZ="UTC", SOURCE_DATE_EPOCH=str(EPOCH))
        subprocess.run(args, check=True, env=env)
        return (self.tmp / "native.html").read_bytes(), (self.tmp / "native.json").read_bytes()

    def test_pages_and_json_are_those_of_the_command(self):
        own = self.tmp / "own.thm"
        own.write_bytes(OWN_THEME)
        logs = {
            "beta1h": EXAMPLES / "beta1h-ctf.log",
            "beta2": EXAMPLES / "beta2-ctf.log",
            "gen1": generated_log(self.tmp / "gen1.log", "beta1h-ctf.log", b"^1Viper", 1),
            "gen2": generated_log(self.tmp / "gen2.log", "beta2-ctf.log", b"^4Bolt", 2),
        }
        cases = [  # log, message set, theme, awards
            ("beta1h", 0, 0, None), ("beta2", 0, 1, [0, 1, 7, 8]), ("beta2", 1, own, []),
            ("gen1", 1, 1, None), ("gen1", 2, own, [2, 5, 17]), ("gen2", 0, own, None),
            ("gen2", 2, 0, list(range(0, 18, 2))),
        ]
        for name, version, theme, awards in cases:
            with self.subTest(log=name, version=version, theme=str(theme), awards=awards):
                self.assertEqual(self.app.generate(logs[name], version, theme, awards), "")
                stem = logs[name].stem
                page = self.app.download("download-page", stem + ".html")
                json = self.app.download("download-json", stem + ".json")
                native_page, native_json = self.native(logs[name], version, theme, awards)
                self.assertEqual(json, native_json)
                self.assertTrue(same_but_duration(page, native_page))
                if theme is own:
                    self.assertEqual(page, native_page)

        # Markup from the log is shown as text; no script of the page reached the app.
        self.app.driver.switch_to.frame(self.app.find("frame"))
        try:
            text = self.app.driver.find_element("tag name", "body").text
            self.assertIn(HOSTILE_NAME.decode(), text)
            self.assertIn("<script>parent.document", text)
            self.assertEqual(self.app.driver.find_elements("css selector", "img"), [])
        finally:
            self.app.driver.switch_to.default_content()
        body = self.app.driver.find_element("tag name", "body")
        self.assertIsNone(body.get_attribute("data-reached"))
        self.assertTrue(self.app.driver.execute_script(
            "return document.getElementById('frame').contentDocument === null"))

    def test_inputs_without_a_page_are_named(self):
        empty = self.tmp / "empty.log"
        empty.write_bytes(b"")
        picture = self.tmp / "picture.log"
        picture.write_bytes(b"\x89PNG\r\n\x1a\n\0\0\0\rIHDR")
        self.assertEqual(self.app.generate(empty), "The log is empty.")
        self.assertEqual(self.app.generate(picture), "The log is not a text file.")

    def test_award_toggle_checks_and_unchecks_all(self):
        toggle = self.app.find("toggle-awards")
        boxes = self.app.driver.find_elements("css selector", "#awards input")
        self.assertEqual(len(boxes), 18)
        self.app.generate(EXAMPLES / "beta2-ctf.log", awards=[3])
        self.assertEqual(toggle.text, "Check All")
        toggle.click()
        self.assertTrue(all(box.is_selected() for box in boxes))
        self.assertEqual(toggle.text, "Uncheck All")
        toggle.click()
        self.assertFalse(any(box.is_selected() for box in boxes))

    def test_zz_nothing_was_requested_and_connections_are_refused(self):
        # Runs last (by name): by then every other test has generated and downloaded.
        requested = self.app.requests()
        self.assertTrue(requested)
        self.assertEqual([url for url in requested if not re.match(r"(file|blob|data):", url)], [])
        refused = self.app.driver.execute_async_script("""
            const done = arguments[0];
            fetch('http://127.0.0.1:9/').then(() => done('fetched'), () => done('refused'));""")
        self.assertEqual(refused, "refused")
        self.assertEqual(self.app.requests(), requested)


if __name__ == "__main__":
    if not WEB_PAGE.exists():
        print(f"skipped: {WEB_PAGE} is built by the wasm preset", file=sys.stderr)
        sys.exit(77)
    unittest.main(argv=sys.argv[:1])
