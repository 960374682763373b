#!/usr/bin/python3
"""The upload page of `zefastats season serve` in headless Chromium: a log
chosen and sent with a token (with JavaScript, through the upload API; without
it, as the form's own POST), the outcome shown in words, then its players on
the season's leaderboard.

    upload_page_test.py ZEFASTATS EXAMPLES_DIR [SCREENSHOT_DIR]
"""

import json
import pathlib
import re
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.common.by import By

ZEFASTATS, EXAMPLES = map(pathlib.Path, sys.argv[1:3])
SHOTS = pathlib.Path(sys.argv[3]) if len(sys.argv) > 3 else None
FLAGS = ("--headless=new --no-sandbox --disable-gpu --disable-background-networking "
         "--disable-component-update --no-first-run --disable-sync --window-size=1000,800").split()


def browser(javascript):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in FLAGS:
        options.add_argument(flag)
    if not javascript:
        options.add_experimental_option(
            "prefs", {"profile.managed_default_content_settings.javascript": 2})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def until(done, seconds=20):
    """What `done` returns once it is true; a page loading meanwhile is waited for."""
    end = time.monotonic() + seconds
    while True:
        try:
            if found := done():
                return found
        except WebDriverException:
            pass
        if time.monotonic() > end:
            raise TimeoutError
        time.sleep(0.1)


class UploadPageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        tmp = pathlib.Path(cls.dir.name)
        store = tmp / "season.db"
        cls.token = subprocess.run([ZEFASTATS, "season", "token", "add", store, "Viper"],
                                   check=True, capture_output=True, text=True).stdout.strip()
        cls.errors = open(tmp / "server.err", "w+")
        cls.server = subprocess.Popen(
            [ZEFASTATS, "season", "serve", store, "--site", tmp / "site", "--min-matches", "0",
             "--listen", "127.0.0.1:0"], stderr=cls.errors)
        serving = re.compile(r"on (http://127\.0\.0\.1:\d+/)")
        cls.root = until(lambda: (m := serving.search(pathlib.Path(cls.errors.name).read_text()))
                         and m.group(1))

    @classmethod
    def tearDownClass(cls):
        cls.server.terminate()
        cls.server.wait(30)
        log = pathlib.Path(cls.errors.name).read_text()
        cls.errors.close()
        cls.dir.cleanup()
        assert cls.token not in log, "the request log holds the token"

    def send(self, driver, log, shot):
        driver.get(self.root + "upload")
        driver.find_element(By.ID, "token").send_keys(self.token)
        driver.find_element(By.ID, "file").send_keys(str(log.resolve()))
        driver.find_element(By.CSS_SELECTOR, "button[type=submit]").click()
        outcome = until(lambda: (text := driver.find_element(By.ID, "outcome").text)
                        and not text.startswith("Sending") and text)
        if SHOTS:
            driver.save_screenshot(str(SHOTS / shot))
        return outcome

    def test_a_log_sent_from_the_page_puts_its_players_on_the_leaderboard(self):
        driver = browser(javascript=True)
        try:
            outcome = self.send(driver, EXAMPLES / "evening" / "full.log", "upload-sent.png")
            self.assertEqual(outcome, "Stored as match 1. The match's page")
            link = driver.find_element(By.CSS_SELECTOR, "#outcome a").get_attribute("href")
            self.assertEqual(link, self.root + "matches/1.html")

            def players():  # once the site is brought up to date
                with urllib.request.urlopen(self.root + "season.json") as answer:
                    return [p["key"] for p in json.load(answer)["players"]]
            key = until(players)[0]

            def leaderboard():
                driver.get(self.root)
                return driver.find_elements(By.CSS_SELECTOR, f'a[href="players/{key}.html"]')
            until(leaderboard)
            if SHOTS:
                driver.save_screenshot(str(SHOTS / "upload-leaderboard.png"))
        finally:
            driver.quit()

    def test_the_form_works_without_javascript(self):
        driver = browser(javascript=False)
        try:
            outcome = self.send(driver, EXAMPLES / "evening" / "joiner.log", "upload-form.png")
            self.assertRegex(outcome, r"^Stored as (match 1|recording 2 of match 1)\. ")
            self.assertEqual(driver.current_url, self.root + "upload")
            driver.get(self.root + "upload")
            driver.find_element(By.ID, "token").send_keys("not-a-token")
            driver.find_element(By.ID, "file").send_keys(str((EXAMPLES / "evening" / "late.log").resolve()))
            driver.find_element(By.CSS_SELECTOR, "button[type=submit]").click()
            until(lambda: driver.find_element(By.ID, "outcome").text == "Not stored: unknown token.")
        finally:
            driver.quit()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
