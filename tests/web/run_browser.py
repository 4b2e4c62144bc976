#!/usr/bin/python3
"""The page in headless Chromium, served from 127.0.0.1 and kept off any other network.

First the window's doctest table, which runs inside TEST_PAGE (the page's shell around the test
program) and hands its summary over; then what only a browser tells of the page in PAGE_DIR, as
its users get it: files picked, dropped and remembered, the phone's screen, the keyboard and the
accessibility tree, that a browser offers to install it, and that after one visit it opens and
drills with no network. Prints what each found; exits with 1 if anything failed.

Usage: /usr/bin/python3 run_browser.py PAGE_DIR TEST_PAGE
"""

import contextlib
import functools
import http.server
import pathlib
import sys
import tempfile
import threading

from selenium import webdriver
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

# As root Chromium runs only without its sandbox; /dev/shm is small in containers; the rest keeps
# it from calling home.
FLAGS = ["--headless", "--no-sandbox", "--disable-dev-shm-usage",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-first-run", "--no-default-browser-check"]

# Each calls back once the page has something to say: the tests' summary; the families of the
# design's fonts' faces loaded.
TESTS_DONE = """const done = arguments[0];
if (window.testsDone) done(window.testsDone); else window.onTestsDone = done;"""
FONTS_LOADED = """const done = arguments[0];
Promise.all(["MS Sans Serif", "Arial"].map((family) => document.fonts.load(`700 12px '${family}'`)))
    .then((faces) => done(faces.map((loaded) => loaded.map((face) => face.family).join())),
          (error) => done(String(error)));"""
# What the window shows once the page has acted on what was done to it (the note is the last
# thing it writes, a band the first): the range, the question, whether a drill can start, the note.
WATCH = """window.acted = new Promise((resolve) => {
    const observer = new MutationObserver(() => { observer.disconnect(); resolve(); });
    for (const id of ["Note", "Label2"]) observer.observe(document.getElementById(id), {childList: true});
});"""
SHOWN = """const [acting, done] = arguments;
const note = document.getElementById("Note");
(acting || !note.textContent ? window.acted : Promise.resolve()).then(() => done([
    Text7.value, Label2.textContent.replace(/\\n/g, " "), String(!Command1.disabled),
    note.textContent]));"""
DROP = """const [text, mebibytes] = arguments, data = new DataTransfer();
if (text) data.items.add(new File(mebibytes ? Array(mebibytes).fill(new Uint8Array(1 << 20)) : [text], "dropped.txt"));
else data.setData("text/plain", "cat$кошка");
Label3.dispatchEvent(new DragEvent("drop", {dataTransfer: data, bubbles: true, cancelable: true}));"""
ACCEPTS_DRAG = """const over = new DragEvent("dragover", {bubbles: true, cancelable: true});
document.body.dispatchEvent(over);
return over.defaultPrevented;"""
FITS = """const window = Form1.getBoundingClientRect();
return [document.documentElement.clientWidth, document.documentElement.scrollWidth,
        window.right, window.bottom];"""
# Word lists as users save them, each with what the window says of it.
FILES = {"words.txt": ("\ufeffcat\tкошка\r\ndog\tсобака\r\nbird\tптица\r\n".encode("utf-16-le"),
                       "3", ""),
         "mark.txt": (b"\xef\xbb\xbf", "0", "Выбранный файл пуст"),
         "plain.txt": (b"one\r\ntwo\r\n", "0",
                       "В выбранном файле нет ни одной пары со знаком $ или табуляцией")}


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


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/lib/chromium/chromium"
    for flag in FLAGS:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    # Long enough for a slow machine to compile the program; a page that never reports fails.
    driver.set_script_timeout(60)
    return driver


def offline(driver, off):
    driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
        "offline": off, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})


def shown(driver, action=None):
    driver.execute_script(WATCH)
    if action:
        action()
    return driver.execute_async_script(SHOWN, action is not None)


def words(driver, check, folder):
    """Files picked, dropped and remembered; the phone's screen; keyboard and screen readers."""
    first = shown(driver)
    check("a first visit: no words yet, how to pick them, the sample offered",
          first[1:] == ["Файл со словами ещё не выбран", "false", first[3]] and "образца" in first[3]
          and driver.find_element(By.ID, "Sample").is_displayed(), first)
    for name, (data, count, question) in FILES.items():
        (folder / name).write_bytes(data)
        said = shown(driver, lambda: driver.find_element(By.ID, "File").send_keys(str(folder / name)))
        check(f"{name} picked", said[:3] == [count, question, str(count != "0").lower()], said)
    said = shown(driver, lambda: driver.find_element(By.ID, "Sample").click())
    check("the sample taken", said[:3] == ["445", "", "true"], said)
    check("a drag over the page is the page's", driver.execute_script(ACCEPTS_DRAG))
    said = shown(driver, lambda: driver.execute_script(DROP, "cat$кошка\ndog$собака\n"))
    check("a file dropped on the window taken", said[:3] == ["2", "", "true"], said)
    said = shown(driver, lambda: driver.execute_script(DROP, None))
    check("a snippet of text dropped: a message", said[1:3] == ["Это не файл со словами", "false"],
          said)
    said = shown(driver, lambda: driver.execute_script(DROP, "big", 1100))
    check("a file too big for memory: a message at once",
          said[1:3] == ["Файл со словами не помещается в память", "false"], said)
    driver.refresh()
    said = shown(driver)
    check("a later visit counts the last file, and says it is the browser's copy",
          said[0] == "2" and "копия" in said[3], said)

    nodes = driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
    named = {(node["role"].get("value"), node.get("name", {}).get("value")) for node in nodes}
    live = [prop["value"]["value"] for node in nodes for prop in node.get("properties", [])
            if prop["name"] == "live"]
    check("screen readers: fields and bars called by their captions, the bands live",
          {("textbox", "Словарный диапазон"), ("slider", "Интервал в секундах")} <= named
          and "polite" in live, sorted(map(str, named)))
    driver.find_element(By.ID, "Command3").send_keys(Keys.ENTER)
    opened = driver.switch_to.active_element.get_attribute("id")
    driver.switch_to.active_element.send_keys(Keys.ESCAPE)
    check("the About box takes the focus and gives it back",
          [opened, driver.switch_to.active_element.get_attribute("id")] == ["AboutOK", "Command3"],
          opened)

    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": 360, "height": 640, "deviceScaleFactor": 3, "mobile": True})
    driver.refresh()
    shown(driver)
    fits = driver.execute_script(FITS)
    check("on a phone: laid out at its width, the whole window in view",
          fits[0] == 360 and fits[1] <= 360 and fits[2] <= 360 and fits[3] <= 640, fits)
    driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})


def run(driver, page_dir, test_page, check):
    with served(test_page.parent) as address:
        driver.get(address + test_page.name)
        result = driver.execute_async_script(TESTS_DONE)
    print(result["summary"], end="")
    check("the window's doctest table", result["failed"] == 0)

    with served(page_dir) as address:
        driver.get(address)
        # Its files are kept once the service worker is ready.
        driver.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]())")
        errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
        check("a browser offers to install it", errors == [], errors)
        with tempfile.TemporaryDirectory() as folder:
            words(driver, check, pathlib.Path(folder))
    # The server is gone, the browser offline, and its own cache of what it fetched emptied:
    # only the service worker's is left.
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.clearBrowserCache", {})
    offline(driver, True)
    driver.refresh()
    fonts = driver.execute_async_script(FONTS_LOADED)
    check("with no network the design's fonts are there", fonts == ["MS Sans Serif", "Arial"],
          fonts)
    said = shown(driver)
    driver.find_element(By.ID, "Command1").click()
    check("with no network the last file is counted and drills",
          said[0] == "2" and driver.find_element(By.ID, "Label2").text in ("cat", "dog"), said)
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

    driver = browser()
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
