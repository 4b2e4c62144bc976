#!/usr/bin/python3
"""Meets the installed program as a screen reader does, over AT-SPI.

Usage: atspi_e2e.py DESKTOP_ENTRY SAMPLE USER_DICTIONARY, run by run_e2e.sh on a virtual
display with private buses. Starts the entry with gio launch from a folder that holds no
dictionary: first as the menu does, with no file, so it must drill the sample; then on the
user's engl.voc, as a file manager does, so it must count that one. Each time the window's X11
class must be the entry's StartupWMClass. Stops at the first failure.
"""

import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402
from gi.repository import GLib  # noqa: E402

TITLE = "Вокабунта 1.0 (5.9.2003)"


def wait_for(what, probe):
    """Returns probe()'s first truthy value, asked again after each event the bus brings and at
    least every 50 ms, for 20 s; objects may vanish meanwhile, so errors mean 'not yet'."""
    context = GLib.MainContext.default()
    tick = GLib.timeout_add(50, lambda: True)
    deadline = time.monotonic() + 20
    try:
        while time.monotonic() < deadline:
            try:
                if value := probe():
                    return value
            except (GLib.Error, RuntimeError, LookupError, TypeError, StopIteration):
                pass
            context.iteration(True)
    finally:
        GLib.source_remove(tick)
    sys.exit(f"FAIL gave up waiting for {what}")


def launch(entry, *files):
    """Starts the entry; returns the program's id and a finder of its controls by description
    or name."""
    subprocess.run(["gio", "launch", entry, *files], cwd="/", check=True)
    window = wait_for(f"a window titled '{TITLE}'", lambda: next(
        child for app in pyatspi.Registry.getDesktop(0) for child in app if child.name == TITLE))
    pid = window.getApplication().get_process_id()
    # An X11 shell finds the entry of a window by its class, which the entry names exactly.
    wm_class = next(ln[15:].strip() for ln in open(entry) if ln.startswith("StartupWMClass="))
    run = lambda *args: subprocess.run(args, capture_output=True, text=True).stdout  # noqa: E731
    classes = [run("xprop", "-id", w, "WM_CLASS").strip()
               for w in run("xdotool", "search", "--onlyvisible", "--pid", str(pid)).split()]
    if not any(c.endswith(f', "{wm_class}"') for c in classes):
        sys.exit(f"FAIL the window's class is not StartupWMClass '{wm_class}': {classes}")
    return pid, lambda key: pyatspi.findDescendant(
        window, lambda node: key in (node.description, node.name))


def range_reads(control, entries):
    field = control("Словарный диапазон: сколько слов с начала словаря участвуют")
    if field.name != "Словарный диапазон":
        sys.exit(f"FAIL a screen reader calls the range field '{field.name}', not by its caption")
    reads = field.queryText()
    wait_for(f"the range field to read {entries}", lambda: reads.getText(0, -1) == str(entries))
    return field


def end(pid):
    os.kill(pid, 15)
    # Gone, or a zombie nobody reaps.
    wait_for(f"process {pid} to end", lambda: not os.path.exists(f"/proc/{pid}/cmdline")
             or not open(f"/proc/{pid}/cmdline").read())


def main(entry, sample, own):
    heard = []

    def on_name_changed(event):
        said = event.any_data if isinstance(event.any_data, str) else event.source.name
        heard.append((event.source.description, said))

    # Listening before the program starts: it starts the accessibility bus, which the program
    # looks for only at start, and the program asks then what anybody listens to.
    pyatspi.Registry.registerEventListener(on_name_changed, "object:property-change:accessible-name")

    lines = open(sample, "rb").read().decode("cp1251").splitlines()
    pid, control = launch(entry)
    range_field = range_reads(control, len(lines))
    print(f"ok   from the menu, a window titled '{TITLE}' drilling the sample of {len(lines)}")

    # A range of one: every card is word 1, and each card must be heard, the same word too.
    range_field.queryEditableText().setTextContents("1")
    control("Англо-русский").queryAction().doAction(0)
    english, russian = lines[0].split("$", 1)
    question, answer = ("Слово-вопрос", english), ("Перевод", russian)

    def repeated():
        first = heard.index(question) if question in heard else len(heard)
        return answer in heard[first:] and question in heard[heard.index(answer):]

    wait_for(f"'{english}', then '{russian}', then '{english}' again", repeated)
    print(f"ok   the question '{english}', its answer, then the same question are announced")
    end(pid)

    pid, control = launch(entry, own)
    range_reads(control, 3)
    print("ok   opened on a user's engl.voc from another folder, it counts that dictionary")
    end(pid)


if __name__ == "__main__":
    main(*sys.argv[1:])
