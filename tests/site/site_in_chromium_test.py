#!/usr/bin/python3
"""The season's site in headless Chromium, opened from disk, as a reader meets
it: the leaderboard sorted from the keyboard and read without JavaScript, the
charts' labels and the leaderboard's names at 390 px, a match's season page
with its match page in a frame, and hostile names there as text.

    site_in_chromium_test.py ZEFASTATS EXAMPLES_DIR
"""

import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

from selenium import webdriver
from selenium.common.exceptions import NoAlertPresentException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

ZEFASTATS, EXAMPLES = map(pathlib.Path, sys.argv[1:3])
SCRIPT = "<script>alert(1)</script>"
IMAGE = '"><img src=x onerror=alert(1)>'

def make_site(folder):
    """The example season, its first match played by two hostile names and
    stored under a hostile file name, as a site in `folder`/site."""
    logs = sorted((EXAMPLES / "season").glob("match-??.log"))
    hostile = folder / (IMAGE + ".log")
    text = logs[0].read_bytes().replace(b"Viper", SCRIPT.encode()).replace(b"Tank", IMAGE.encode())
    hostile.write_bytes(text)
    store = folder / "season.db"
    for day, log in enumerate([hostile] + logs[1:]):
        subprocess.run([ZEFASTATS, "season", "import", store, log, "--played-at",
                        f"2026-03-{day + 1:02d}T20:00:00Z"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run([ZEFASTATS, "season", "site", store, "-o", folder / "site", "--min-matches", "1"],
                   check=True, stdout=subprocess.DEVNULL)
    return folder / "site"


class SiteInChromium(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp()
        cls.site = make_site(pathlib.Path(cls.scratch))
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new --no-sandbox --disable-gpu --no-first-run "
                     "--disable-background-networking --window-size=1280,1000").split():
            options.add_argument(flag)
        cls.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        shutil.rmtree(cls.scratch)

    def open(self, page, width=1280):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": 900, "deviceScaleFactor": 1, "mobile": False})
        self.driver.get((self.site / page).as_uri())

    def script(self, code, *args):
        return self.driver.execute_script(code, *args)

    def no_alert(self):
        with self.assertRaises(NoAlertPresentException):
            self.driver.switch_to.alert.accept()

    def board(self, column):
        return self.script("return [...document.querySelectorAll('.board-table tbody tr')]"
                           ".map(row => row.cells[arguments[0]].textContent)", column)

    def sorted_by(self):
        return self.script("return [...document.querySelectorAll('.board-table th')]"
                           ".map(head => head.getAttribute('aria-sort'))")

    def test_leaderboard_sorts_from_the_keyboard_and_reads_without_script(self):
        self.open("index.html")
        heads = self.sorted_by()
        self.assertEqual(heads[2], "descending", "by rating, as the page comes")
        ratings = [float(value) for value in self.board(2)]
        self.assertEqual(ratings, sorted(ratings, reverse=True))
        # Tab from the page's start reaches the Player head's button.
        for _ in range(20):
            ActionChains(self.driver).send_keys(Keys.TAB).perform()
            if self.script("return document.activeElement.textContent") == "Player":
                break
        focused = self.driver.switch_to.active_element
        self.assertEqual(focused.text.upper(), "PLAYER")
        focused.send_keys(Keys.ENTER)
        names = self.board(1)
        self.assertEqual(names, sorted(names, key=str.casefold), "A to Z first")
        self.assertEqual(self.sorted_by().count(None), len(heads) - 1)
        self.assertEqual(self.sorted_by()[1], "ascending")
        focused.send_keys(Keys.SPACE)
        self.assertEqual(self.board(1), names[::-1])
        self.assertEqual(self.sorted_by()[1], "descending")
        self.driver.find_elements(By.CSS_SELECTOR, ".board-table th button")[3].click()
        kills = [int(value) for value in self.board(4)]
        self.assertEqual(kills, sorted(kills, reverse=True), "highest first")
        self.assertEqual(self.sorted_by()[4], "descending")

        self.driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": True})
        try:
            self.open("index.html")
            self.assertEqual(self.board(0), [str(place) for place in range(1, len(names) + 1)])
            self.assertEqual(self.board(2), [f"{rating:.2f}" for rating in ratings])
        finally:
            self.driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": False})

    def test_at_390_px_chart_labels_keep_their_size_and_names_stay_in_view(self):
        for page in ["index.html", "players/moss.html"]:
            self.open(page, 390)
            labels = self.script("""
                return [...document.querySelectorAll('.chart span')]
                  .filter(label => label.offsetParent !== null)
                  .map(label => [label.parentElement.className, label.textContent,
                                 parseFloat(getComputedStyle(label).fontSize),
                                 label.getBoundingClientRect().toJSON()]);""")
            self.assertGreater(len(labels), 20, page)
            for kind, text, size, _ in labels:
                self.assertGreaterEqual(size, 12, f"{page}: {kind} {text}")
            under = [box for kind, _, _, box in labels if kind == "x-axis"]
            for left, right in zip(under, under[1:]):
                self.assertLessEqual(left["right"], right["left"], f"{page}: labels overlap")
            width = self.script("return document.documentElement.scrollWidth")
            self.assertLessEqual(width, 390, f"{page} fits the width")
        self.open("index.html", 390)
        table = self.script("""
            const scroll = document.querySelector('.board-table').parentElement;
            scroll.scrollLeft = scroll.scrollWidth;
            const name = document.querySelector('.board-table tbody td:nth-child(2)');
            return [scroll.scrollLeft, scroll.getBoundingClientRect().left,
                    name.getBoundingClientRect().left,
                    document.elementFromPoint(name.getBoundingClientRect().left + 20,
                                              name.getBoundingClientRect().top + 10)
                      .closest('td') === name];""")
        scrolled, left, name_left, name_on_top = table
        self.assertGreater(scrolled, 100, "the leaderboard scrolls sideways")
        self.assertAlmostEqual(name_left, left + 45, delta=2)
        self.assertTrue(name_on_top, "the name is not hidden by the cells scrolled under it")

    def test_a_matchs_season_page_shows_the_match_page_and_the_way_back(self):
        self.open("matches.html", 390)
        self.driver.find_element(By.LINK_TEXT, "2026-03-01 20:00").click()
        self.assertTrue(self.driver.current_url.endswith("/matches/1-season.html"))
        frame = self.driver.find_element(By.CSS_SELECTOR, "iframe.match-frame")
        self.assertEqual(self.script("return arguments[0].getBoundingClientRect().bottom", frame),
                         self.script("return innerHeight"))
        self.assertEqual(frame.get_attribute("src"), (self.site / "matches/1.html").as_uri())
        self.no_alert()
        self.assertEqual(self.script("return document.images.length"), 0)
        players = [link.text for link in self.driver.find_elements(By.CSS_SELECTOR, ".match-players a")]
        self.assertIn(SCRIPT, players)
        self.assertTrue(any(name.startswith(IMAGE[:12]) for name in players), players)  # cut short
        self.assertIn(IMAGE + ".log", self.driver.find_element(By.CSS_SELECTOR, ".match-bar").text)
        self.driver.switch_to.frame(frame)
        try:
            self.assertIn(SCRIPT, self.driver.find_element(By.TAG_NAME, "body").text)
            self.assertEqual(self.script("return document.images.length"), 0)
        finally:
            self.driver.switch_to.default_content()
        self.driver.find_element(By.LINK_TEXT, "Next match \u2192").click()
        self.assertTrue(self.driver.current_url.endswith("/matches/2-season.html"))
        self.driver.find_element(By.LINK_TEXT, "Leaderboard").click()
        self.assertTrue(self.driver.current_url.endswith("/index.html"))


if __name__ == "__main__":
    if not shutil.which("chromium") or not pathlib.Path("/usr/bin/chromedriver").exists():
        sys.exit(77)
    unittest.main(argv=sys.argv[:1], verbosity=2)
