#!/usr/bin/python3
"""The page in headless Chromium, served from 127.0.0.1 and kept off any other network.

First the window's doctest table, which runs inside TEST_PAGE (the page's shell around the test
program) and hands its summary over; then what only a browser tells of the page in PAGE_DIR, as
its users get it: that a browser offers to install it, and that after one visit it opens with no
network. Prints what each found; exits with 1 if anything failed.

Usage: /usr/bin/python3 run_browser.py PAGE_DIR TEST_PAGE
"""

import contextlib
import functools
import http.server
import pathlib
import sys
import threading

from selenium import webdriver
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.chrome.service import Service

# As root Chromium runs only without its sandbox; /dev/shm is small in containers; the rest keeps
# it from calling home.
FLAGS = ["--headless", "--no-sandbox", "--disable-dev-shm-usage",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-first-run", "--no-default-browser-check"]

# Each calls back once the page has something to say: the tests' summary; "started" once the
# page's program has, or why it could not; the families of the design's fonts' faces loaded.
TESTS_DONE = """const done = arguments[0];
if (window.testsDone) done(window.testsDone); else window.onTestsDone = done;"""
PROGRAM_STARTED = """const done = arguments[0];
if (typeof Module === "undefined") done("no program");
else if (Module.calledRun) done("started");
else [Module.onRuntimeInitialized, Module.onAbort] = [() => done("started"), done];"""
FONTS_LOADED = """const done = arguments[0];
Promise.all(["MS Sans Serif", "Arial"].map((family) => document.fonts.load(`700 12px '${family}'`)))
    .then((faces) => done(faces.map((loaded) => loaded.map((face) => face.family).join())),
          (error) => done(String(error)));"""


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


@contextlib.contextmanager
def served(folder):
    """Serves FOLDER on 127.0.0.1 at a free port, yielding its address."""
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(QuietHandler, directory=str(folder)))
    thread = threading.Thread(target=server.serve_forever)
    thread.start()
    try:
        yield f"http://127.0.0.1:{server.server_port}/"
    finally:
        server.shutdown()
        server.server_close()
        thread.join()


def offline(driver, off):
    driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
        "offline": off, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})


def run(driver, page_dir, test_page, check):
    with served(test_page.parent) as address:
        driver.get(address + test_page.name)
        result = driver.execute_async_script(TESTS_DONE)
    print(result["summary"], end="")
    check("the window's doctest table", result["failed"] == 0)

    with served(page_dir) as address:
        driver.get(address)
        check("the program starts", driver.execute_async_script(PROGRAM_STARTED) == "started")
        title = driver.title
        # Its files are kept once the service worker is ready.
        driver.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]())")
        errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
        check("a browser offers to install it", errors == [], errors)
    # The server is gone, the browser offline, and its own cache of what it fetched emptied:
    # only the service worker's is left.
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.clearBrowserCache", {})
    offline(driver, True)
    driver.refresh()
    check("with no network it opens", driver.title == title, driver.title)
    check("with no network the program starts",
          driver.execute_async_script(PROGRAM_STARTED) == "started")
    fonts = driver.execute_async_script(FONTS_LOADED)
    check("with no network the design's fonts are there", fonts == ["MS Sans Serif", "Arial"],
          fonts)
    offline(driver, False)


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    failed = []

    def check(name, ok, found=None):
        print(f"{'ok' if ok else 'FAILED'}: {name}" + ("" if ok else f": {found}"))
        if not ok:
            failed.append(name)

    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/lib/chromium/chromium"
    for flag in FLAGS:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    # Long enough for a slow machine to compile the program; a page that never reports fails.
    driver.set_script_timeout(60)
    try:
        run(driver, pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), check)
    except TimeoutException:
        check("the page reported in time", False, "\n".join(
            entry["message"] for entry in driver.get_log("browser")))
    finally:
        driver.quit()
    print(f"browser checks: {len(failed)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
