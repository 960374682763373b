#!/usr/bin/python3
"""Opens pages of a season's site in headless Chromium and prints, for each, its size and the
median time from the start of navigation to the end of the load event over five openings.

    bench/site_open_time.py SITE/index.html SITE/players/NAME.html
"""
import os
import statistics
import sys

from selenium import webdriver

options = webdriver.ChromeOptions()
for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
             "--disable-component-update", "--no-first-run", "--window-size=1280,900"):
    options.add_argument(flag)
driver = webdriver.Chrome(options=options)
try:
    for page in sys.argv[1:]:
        times = []
        for _ in range(5):
            driver.get("about:blank")
            driver.get("file://" + os.path.abspath(page))
            times.append(driver.execute_script(
                "const t = performance.getEntriesByType('navigation')[0];"
                "return t.loadEventEnd - t.startTime;"))
        print(f"{page}: {os.path.getsize(page)} bytes, opens in {statistics.median(times):.0f} ms")
finally:
    driver.quit()
