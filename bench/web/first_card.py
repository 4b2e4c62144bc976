#!/usr/bin/python3
"""From navigation to the first card on a return visit, in headless Chromium: the page served
from 127.0.0.1 (as sh scripts/web.sh builds it), a word list picked once, then visited again RUNS
times; each time the window is ready with the remembered list counted, and a click on
"Англо-русский" then shows a card. Prints the median and range of the moment the window is ready,
in ms from the navigation's start as the page's own clock tells it, and of the click's own time
to the card.

Usage: /usr/bin/python3 bench/web/first_card.py [PAGE_DIR] [RUNS]
"""

import pathlib
import statistics
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tests" / "web"))
from run_browser import browser, served, shown  # noqa: E402  pylint: disable=wrong-import-position

from selenium.webdriver.common.by import By  # noqa: E402  pylint: disable=wrong-import-position

# The moment the window is ready: the last thing it writes is its note.
READY = """const done = arguments[0];
if (Note.textContent) done(performance.now());
else new MutationObserver((_, seen) => { seen.disconnect(); done(performance.now()); })
    .observe(Note, {childList: true});"""
# A click, and how long until its card shows.
FIRST_CARD = """const clicked = performance.now();
Command1.click();
return Label2.textContent ? performance.now() - clicked : -1;"""


def main():
    page = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build-web")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    driver = browser()
    try:
        with served(page) as address, tempfile.TemporaryDirectory() as folder:
            driver.get(address)
            shown(driver)
            words = pathlib.Path(folder) / "words.txt"
            words.write_text("".join(f"word{n}$слово{n}\r\n" for n in range(1, 1235)),
                             encoding="cp1251")
            shown(driver, lambda: driver.find_element(By.ID, "File").send_keys(str(words)))
            ready, card = [], []
            for _ in range(runs):
                driver.get(address)
                ready.append(driver.execute_async_script(READY))
                card.append(driver.execute_script(FIRST_CARD))
    finally:
        driver.quit()
    for name, values in (("navigation to the window ready, its list counted", ready),
                         ("a click to its first card", card)):
        print(f"{name}: median {statistics.median(values):.1f} ms "
              f"({min(values):.1f}..{max(values):.1f}, {runs} return visits)")


if __name__ == "__main__":
    main()
