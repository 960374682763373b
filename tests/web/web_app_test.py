#!/usr/bin/python3
"""zefastats-web.html in headless Chromium, opened from disk: its pages and JSON
are those of `zefastats` for the same inputs, log texts stay text, the page in
its frame cannot reach the app, and nothing is requested from any server; and
what a player meets: a busy run giving way to new inputs, results that belong
to the inputs shown, several logs, drops, links in the frame, remembered
choices, the layout at a large font, a narrow window and 200% zoom.

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

from selenium.webdriver.common.keys import Keys

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

    def native(self, log, version, theme, awards, epoch=EPOCH):
        args = [ZEFASTATS, log, "-o", self.tmp / "native.html", "--json", self.tmp / "native.json",
                "-a", "all" if awards is None else ",".join(map(str, awards)) or "none"]
        if version:
            args += ["-g", str(version)]
        if theme == 1:
            args += ["-t", THEMES / "classic.thm"]
        elif not isinstance(theme, int):
            args += ["-t", theme]
        env = dict(os.environ, TZ="UTC", SOURCE_DATE_EPOCH=str(epoch))
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
                page = self.app.download("page", stem + ".html")
                json = self.app.download("json", stem + ".json")
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

    def test_award_toggle_checks_and_unchecks_all_and_no_award_moves(self):
        toggle = self.app.find("toggle-awards")
        boxes = self.app.driver.find_elements("css selector", "#awards input")
        self.assertEqual(len(boxes), 18)
        self.app.generate(EXAMPLES / "beta2-ctf.log", awards=[3])
        self.assertEqual(toggle.text, "Check All")
        toggle.click()
        self.assertTrue(all(box.is_selected() for box in boxes))
        self.assertEqual(toggle.text, "Uncheck All")
        # The label changes; the list, the button and every award stay where they are.
        where = "return [...document.querySelectorAll('#toggle-awards, #awards, #awards label')]" \
                ".map((e) => JSON.stringify(e.getBoundingClientRect()))"
        for width in (1280, 1000, 860, 700, 390):
            with self.subTest(width=width):
                self.app.driver.set_window_size(width, 1000)
                before = self.app.driver.execute_script(where)
                boxes[5].click()
                self.assertEqual(toggle.text, "Check All")
                self.assertEqual(self.app.driver.execute_script(where), before)
                boxes[5].click()
        self.app.driver.set_window_size(1280, 1000)
        toggle.click()
        self.assertFalse(any(box.is_selected() for box in boxes))

    def test_a_busy_run_gives_way_to_new_inputs(self):
        # A log of about 100 MB keeps the core busy for many seconds.
        big = self.tmp / "big.log"
        example = (EXAMPLES / "beta2-ctf.log").read_bytes()
        big.write_bytes(example * (100_000_000 // len(example)))
        small = EXAMPLES / "beta1h-ctf.log"
        busy = lambda: self.app.find("status").text.startswith("Generating the page from")
        for interrupt in (lambda: self.app.choose_logs(small), lambda: self.app.find("cancel").click()):
            self.app.choose_logs(big)
            self.app.find("generate").click()
            self.app.wait(busy)
            interrupt()
            self.app.wait(lambda: self.app.state() == "ready")
            self.assertTrue(self.app.find("status").text.startswith("Cancelled"))
            self.assertFalse(self.app.find("result").is_displayed())
        self.assertEqual(self.app.generate(small), "")
        self.assertEqual(len(self.app.rows()), 1)
        size = f"{small.stat().st_size / 1024:.1f} KB"
        self.assertTrue(self.app.rows()[0].text.startswith(f"beta1h-ctf.log ({size})"))
        page = self.app.download("page", "beta1h-ctf.html")
        self.assertTrue(same_but_duration(page, self.native(small, 0, 0, None)[0]))

    def test_the_epoch_dates_the_page_and_a_bad_one_stops_generate(self):
        own = self.tmp / "own.thm"
        own.write_bytes(OWN_THEME)
        log = EXAMPLES / "beta2-ctf.log"
        try:
            for epoch in (2**31, 4102444800):  # past the browser build's 32-bit time_t
                with self.subTest(epoch=epoch):
                    self.app.open(f"?epoch={epoch}")
                    self.assertEqual(self.app.generate(log, theme=own), "")
                    self.assertEqual(self.app.download("page", "beta2-ctf.html"),
                                     self.native(log, 0, own, None, epoch)[0])
            for epoch in ("abc", "-5", "99999999999999"):
                with self.subTest(epoch=epoch):
                    self.app.open(f"?epoch={epoch}")
                    self.app.choose_logs(log)
                    self.assertEqual(self.app.state(), "error")
                    self.assertIn("epoch", self.app.find("error").text)
                    self.assertFalse(self.app.find("generate").is_enabled())
        finally:
            self.app.open(f"?epoch={EPOCH}")

    def test_links_move_within_the_frame_and_a_new_tab_shows_the_page(self):
        self.app.generate(EXAMPLES / "beta2-ctf.log")
        driver = self.app.driver

        def follow_links():
            where = "return [location.href, scrollY]"
            # By keyboard: the frame runs no script, so nothing scrolls a link into view for a click.
            driver.find_element("css selector", "nav.toc a[href='#players']").send_keys(Keys.ENTER)
            self.assertEqual(driver.execute_script(where)[0], "about:srcdoc#players")
            name = driver.find_element("css selector", "#players td a[href^='#p']")
            target = name.get_attribute("href").split("#")[1]
            name.send_keys(Keys.ENTER)
            href, scrolled = driver.execute_script(where)
            self.assertEqual(href, "about:srcdoc#" + target)
            self.assertGreater(scrolled, 0)

        app_window = driver.current_window_handle
        driver.switch_to.frame(self.app.find("frame"))
        try:
            follow_links()
        finally:
            driver.switch_to.default_content()
        self.assertEqual(self.app.state(), "done")
        self.app.rows()[0].find_element("class name", "open-tab").click()
        self.app.wait(lambda: len(driver.window_handles) == 2, 10)
        driver.switch_to.window([handle for handle in driver.window_handles if handle != app_window][0])
        try:
            frame = driver.find_element("tag name", "iframe")
            self.assertEqual(frame.get_attribute("sandbox"), "")
            self.assertEqual(driver.execute_script("return [innerWidth, innerHeight]"),
                             [frame.size["width"], frame.size["height"]])
            driver.switch_to.frame(frame)
            follow_links()
        finally:
            driver.close()
            driver.switch_to.window(app_window)

    def test_what_is_shown_belongs_to_the_inputs_shown(self):
        empty = self.tmp / "empty.log"
        empty.write_bytes(b"")
        previous = lambda: self.app.find("previous").is_displayed()
        self.app.generate(EXAMPLES / "beta2-ctf.log")
        self.assertFalse(previous())
        self.app.choose_logs(EXAMPLES / "beta1h-ctf.log")
        self.assertTrue(previous())
        self.app.choose_logs(EXAMPLES / "beta2-ctf.log")
        self.assertFalse(previous())
        self.app.driver.find_elements("css selector", "#awards input")[2].click()
        self.assertTrue(previous())
        self.assertEqual(self.app.generate(empty), "The log is empty.")
        self.assertFalse(self.app.find("result").is_displayed())

    def test_a_file_dropped_on_the_theme_is_the_theme_elsewhere_the_logs(self):
        own = self.tmp / "dropped.thm"
        own.write_bytes(OWN_THEME)
        logs = [EXAMPLES / "beta1h-ctf.log", EXAMPLES / "beta2-ctf.log"]
        self.app.driver.find_element("css selector", "input[name=theme][value='0']").click()
        self.app.drop("drop-zone", *logs)
        self.app.drop("choose-theme", own)
        self.assertTrue(self.app.find("theme-own").is_selected())
        self.assertTrue(self.app.find("theme-name").text.startswith("dropped.thm"))
        self.assertTrue(self.app.find("log-name").text.startswith("2 logs: beta1h-ctf.log"))
        self.app.find("generate").click()
        self.app.wait(lambda: self.app.state() == "done")
        for row, log in enumerate(logs):
            self.assertEqual(self.app.download("page", log.stem + ".html", row),
                             self.native(log, 0, own, None)[0])

    def test_the_result_comes_into_view_said_done_when_shown(self):
        driver = self.app.driver
        driver.set_window_size(390, 800)
        try:
            driver.execute_script("""
                scrollTo(0, 0);
                window.loadsAtDone = [];
                let loads = 0;
                document.addEventListener('load', () => { loads += 1; }, true);
                new MutationObserver(() => {
                  if (document.body.dataset.state === 'done') window.loadsAtDone.push(loads);
                }).observe(document.body, { attributeFilter: ['data-state'] });""")
            self.app.generate(EXAMPLES / "beta1h-ctf.log")
            self.assertEqual(driver.execute_script("return window.loadsAtDone"), [1])
            top = driver.execute_script("return document.getElementById('result').getBoundingClientRect().top")
            self.assertEqual(round(top), 0)
            self.assertEqual(driver.switch_to.active_element.get_attribute("id"), "result-title")
        finally:
            driver.set_window_size(1280, 1000)

    def test_several_logs_make_a_page_each(self):
        empty = self.tmp / "empty.log"
        empty.write_bytes(b"")
        logs = [EXAMPLES / "beta1h-ctf.log", empty, EXAMPLES / "beta2-ctf.log"]
        self.assertEqual(self.app.generate(logs, awards=[0, 4]), "empty.log: The log is empty.")
        self.assertEqual(self.app.state(), "done")
        rows = self.app.rows()
        self.assertEqual([row.get_attribute("class") for row in rows], ["", "failed", ""])
        for row in (0, 2):
            self.assertTrue(same_but_duration(self.app.download("page", logs[row].stem + ".html", row),
                                              self.native(logs[row], 0, 0, [0, 4])[0]))
        rows[2].find_element("class name", "show").click()
        self.assertEqual(self.app.find("frame").get_attribute("title"),
                         "The statistics page of beta2-ctf.log")

    def test_choices_are_remembered_between_visits(self):
        own = self.tmp / "kept.thm"
        own.write_bytes(OWN_THEME)
        self.app.generate(EXAMPLES / "beta2-ctf.log", version=1, theme=own, awards=[1, 4])
        self.app.open(f"?epoch={EPOCH}")
        version = self.app.driver.find_element("css selector", "input[name=version][value='1']")
        self.assertTrue(version.is_selected())
        self.assertTrue(self.app.find("theme-own").is_selected())
        self.assertIn("remembered", self.app.find("theme-name").text)
        boxes = self.app.driver.find_elements("css selector", "#awards input")
        self.assertEqual([index for index, box in enumerate(boxes) if box.is_selected()], [1, 4])
        self.app.choose_logs(EXAMPLES / "beta2-ctf.log")
        self.app.find("generate").click()
        self.app.wait(lambda: self.app.state() == "done")
        self.assertEqual(self.app.download("page", "beta2-ctf.html"),
                         self.native(EXAMPLES / "beta2-ctf.log", 1, own, [1, 4])[0])

    def test_sizes_follow_the_font_and_fit_narrow_windows(self):
        driver = self.app.driver
        self.app.generate(EXAMPLES / "beta2-ctf.log", theme=1)
        fits = """
            const overflowing = [...document.querySelectorAll('.panel *, .result *')].filter((e) => {
              const panel = e.closest('.panel, .result').getBoundingClientRect();
              const box = e.getBoundingClientRect();
              return box.width && (box.left < panel.left - 1 || box.right > panel.right + 1);
            }).map((e) => e.id || e.className || e.tagName);
            // With the result in view the frame is whole: only the frame scrolls, not the window too.
            document.getElementById('result').scrollIntoView();
            const root = document.documentElement;
            return [root.scrollWidth - root.clientWidth, overflowing, getComputedStyle(document.body).fontSize,
                    document.getElementById('frame').getBoundingClientRect().bottom <= innerHeight];"""
        try:
            # width, height, default font, zoom (as the layout sees it: CSS pixels at a scale)
            for width, height, font, zoom in ((390, 800, 16, 1), (1280, 1000, 24, 1), (1280, 1000, 16, 2),
                                              (390, 800, 24, 1)):
                with self.subTest(width=width, font=font, zoom=zoom):
                    driver.execute_cdp_cmd("Page.setFontSizes", {"fontSizes": {"standard": font}})
                    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                        "width": width // zoom, "height": height // zoom, "deviceScaleFactor": zoom,
                        "mobile": False})
                    self.assertEqual(driver.execute_script(fits), [0, [], f"{font * 15 / 16:g}px", True])
        finally:
            driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
            driver.execute_cdp_cmd("Page.setFontSizes", {"fontSizes": {"standard": 16}})

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
