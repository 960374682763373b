"""Drives zefastats-web.html in headless Chromium through Selenium, as a user
would: files picked, options set, Generate pressed, downloads collected."""

import json
import pathlib
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

CHROMIUM_FLAGS = ("--headless=new --no-sandbox --disable-gpu --disable-background-networking "
                  "--disable-component-update --no-first-run --disable-sync --disable-quic "
                  "--window-size=1280,1000").split()


class WebApp:
    def __init__(self, page, downloads):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in CHROMIUM_FLAGS:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"performance": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.page = pathlib.Path(page).resolve()
        self.downloads = pathlib.Path(downloads)
        self.driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                                    {"behavior": "allow", "downloadPath": str(self.downloads)})
        self.requested = []

    def quit(self):
        self.driver.quit()

    def find(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def state(self):
        return self.driver.find_element(By.TAG_NAME, "body").get_attribute("data-state")

    def wait(self, done, seconds=120):
        end = time.monotonic() + seconds
        while not done():
            if time.monotonic() > end:
                raise TimeoutError(f"the page stayed {self.state()}: {self.find('status').text}")
            time.sleep(0.02)

    def open(self, query=""):
        """Loads the file; the milliseconds from opening to ready."""
        self.driver.get(self.page.as_uri() + query)
        self.wait(lambda: self.state() != "loading")
        return int(self.driver.find_element(By.TAG_NAME, "body").get_attribute("data-ready-ms"))

    def choose_logs(self, *logs):
        self.find("log-file").send_keys("\n".join(str(pathlib.Path(log).resolve()) for log in logs))

    def generate(self, log, version=0, theme=0, awards=None):
        """Generates from `log` (or a list of logs) with message set 0
        (detect), 1 or 2, theme 0 (built-in), 1 (classic) or a theme file, and
        the award indexes shown (all when None). The error shown, or "" on
        success."""
        self.choose_logs(*(log if isinstance(log, list) else [log]))
        self.driver.find_element(By.CSS_SELECTOR, f"input[name=version][value='{version}']").click()
        choice = theme if isinstance(theme, int) else "own"
        self.driver.find_element(By.CSS_SELECTOR, f"input[name=theme][value='{choice}']").click()
        if choice == "own":
            self.find("theme-file").send_keys(str(pathlib.Path(theme).resolve()))
        # One round trip for the 18 boxes; a click as a user's, change event included.
        self.driver.execute_script("""
            document.querySelectorAll('#awards input').forEach((box, index) => {
              if (box.checked !== (arguments[0] === null || arguments[0].includes(index))) box.click();
            });""", awards)
        self.find("generate").click()
        self.wait(lambda: self.state() in ("done", "error"))
        return self.find("error").text

    def rows(self):
        return self.driver.find_elements(By.CSS_SELECTOR, "#results li")

    def download(self, kind, name, row=0):
        """Presses "Download page" (kind "page") or "Download JSON" ("json") of
        a result's row; the bytes of the file it saves."""
        target = self.downloads / name
        target.unlink(missing_ok=True)
        self.rows()[row].find_element(By.CLASS_NAME, f"download-{kind}").click()
        self.wait(lambda: target.exists() and target.stat().st_size > 0, 30)
        return target.read_bytes()

    def drop(self, element_id, *paths):
        """Drops the files on an element, as a user's drag from the desktop."""
        files = [[path.name, path.read_bytes().decode("latin-1")] for path in map(pathlib.Path, paths)]
        self.driver.execute_script("""
            const transfer = new DataTransfer();
            for (const [name, text] of arguments[1]) {
              transfer.items.add(new File([Uint8Array.from(text, (c) => c.charCodeAt(0))], name));
            }
            const drop = new DragEvent('drop', { bubbles: true, cancelable: true, dataTransfer: transfer });
            arguments[0].dispatchEvent(drop);
            """, self.find(element_id), files)

    def requests(self):
        """Every URL the browser requested since the last call."""
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                self.requested.append(message["params"]["request"]["url"])
        return self.requested
