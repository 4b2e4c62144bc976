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

CHROMIUM = "/usr/lib/chromium/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
# As root Chromium runs only without its sandbox; /dev/shm is small in containers; the rest keeps
# it from calling home.
FLAGS = ["--headless", "--no-sandbox", "--disable-dev-shm-usage",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-first-run", "--no-default-browser-check"]
# Long enough for a slow machine to compile the program; a page that never reports fails.
SCRIPT_SECONDS = 60


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):  # pylint: disable=redefined-builtin
        pass


@contextlib.contextmanager
def served(folder):
    """Serves FOLDER on 127.0.0.1 at a free port, yielding its address."""
    handler = functools.partial(QuietHandler, directory=str(folder))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        yield f"http://127.0.0.1:{server.server_port}/"
    finally:
        server.shutdown()
        server.server_close()
        thread.join()


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in FLAGS:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    driver.set_script_timeout(SCRIPT_SECONDS)
    return driver


# Calls back with the tests' summary once the test program has run.
TESTS_DONE = """
const done = arguments[arguments.length - 1];
if (window.testsDone) done(window.testsDone); else window.onTestsDone = done;
"""

# Calls back once the page's program has started ("started"), or with why it could not.
PROGRAM_STARTED = """
const done = arguments[arguments.length - 1];
if (typeof Module === "undefined") done("no program");
else if (Module.calledRun) done("started");
else {
    Module.onRuntimeInitialized = () => done("started");
    Module.onAbort = (what) => done("stopped: " + what);
}
"""

# Calls back with the faces of the design's fonts the page has loaded, by family.
FONTS_LOADED = """
const done = arguments[arguments.length - 1];
Promise.all(["MS Sans Serif", "Arial"].map((family) => document.fonts.load("700 12px '" + family + "'")))
    .then((faces) => done(faces.map((loaded) => loaded.map((face) => face.family).join())),
          (error) => done(String(error)));
"""


class Checks:
    def __init__(self):
        self.failed = []

    def check(self, name, ok, detail=""):
        print(f"{'ok' if ok else 'FAILED'}: {name}" + (f": {detail}" if detail and not ok else ""))
        if not ok:
            self.failed.append(name)


def window_tests(driver, checks, test_page):
    with served(test_page.parent) as address:
        driver.get(address + test_page.name)
        result = driver.execute_async_script(TESTS_DONE)
    print(result["summary"], end="")
    checks.check("the window's doctest table", result["failed"] == 0)


def page_checks(driver, checks, page_dir):
    with served(page_dir) as address:
        driver.get(address)
        checks.check("the program starts", driver.execute_async_script(PROGRAM_STARTED) == "started")
        title = driver.title
        # Its files are kept once the service worker is ready.
        driver.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]())")
        errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
        checks.check("a browser offers to install it", errors == [], str(errors))

    # The server is gone, the browser offline, and its own cache of what it fetched emptied:
    # only the service worker's is left.
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.clearBrowserCache", {})
    driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
        "offline": True, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})
    driver.refresh()
    checks.check("with no network it opens", driver.title == title, f"title {driver.title!r}")
    checks.check("with no network the program starts",
                 driver.execute_async_script(PROGRAM_STARTED) == "started")
    fonts = driver.execute_async_script(FONTS_LOADED)
    checks.check("with no network the design's fonts are there",
                 fonts == ["MS Sans Serif", "Arial"], str(fonts))
    driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
        "offline": False, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    page_dir, test_page = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    checks = Checks()
    driver = browser()
    try:
        for run in (lambda: window_tests(driver, checks, test_page),
                    lambda: page_checks(driver, checks, page_dir)):
            try:
                run()
            except TimeoutException:
                checks.check("the page reported in time", False)
                for entry in driver.get_log("browser"):
                    print(entry["message"], file=sys.stderr)
    finally:
        driver.quit()
    print(f"browser checks: {len(checks.failed)} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
