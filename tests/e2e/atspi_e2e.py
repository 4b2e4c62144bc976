#!/usr/bin/python3
"""Meets the installed program as a screen reader does, over AT-SPI.

Usage: atspi_e2e.py DESKTOP_ENTRY SAMPLE USER_DICTIONARY, run by run_e2e.sh on a virtual
display with private buses. Starts the entry with gio launch from a folder that holds no
dictionary: first as the menu does, with no file, so it must drill the sample; then on the
user's engl.voc, as a file manager does, so it must count that one. Stops at the first failure.
"""

import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402
from gi.repository import Gio, GLib  # noqa: E402

TITLE = "Вокабунта 1.0 (5.9.2003)"
RANGE = "Словарный диапазон: сколько слов с начала словаря участвуют"


def wait_for(what, probe):
    """Returns probe()'s first truthy value; objects may vanish meanwhile, so errors mean 'not yet'."""
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            value = probe()
            if value:
                return value
        except (GLib.Error, RuntimeError, LookupError, TypeError):
            pass
        time.sleep(0.05)
    sys.exit(f"FAIL gave up waiting for {what}")


def launch(entry, *files):
    """The program's window, started from the entry: its controls by description and by name."""
    subprocess.run(["gio", "launch", entry, *files], cwd="/", check=True)
    window = wait_for(f"a window titled '{TITLE}'", lambda: next(
        (child for app in pyatspi.Registry.getDesktop(0) for child in app if child.name == TITLE),
        None))
    if window.getRole() != pyatspi.ROLE_FRAME:
        sys.exit(f"FAIL the window is a '{window.getRoleName()}': its title is not announced")
    controls, stack = {}, [window]
    while stack:
        node = stack.pop()
        controls.update({node.name: node, node.description: node})
        stack.extend(child for child in node if child is not None)
    return window.getApplication().get_process_id(), controls


def counts(controls, entries):
    field = controls[RANGE].queryText()
    wait_for(f"the range field to read {entries}", lambda: field.getText(0, -1) == str(entries))


def end(pid):
    os.kill(pid, 15)
    wait_for(f"process {pid} to end", lambda: not os.path.exists(f"/proc/{pid}/cmdline")
             or not open(f"/proc/{pid}/cmdline").read())


def main(entry, sample, own):
    # The accessibility bus starts on demand; the program finds it only if it runs already.
    Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None, None,
        Gio.DBusCallFlags.NONE, 5000, None)
    heard = []

    def on_name_changed(event):
        said = event.any_data if isinstance(event.any_data, str) else event.source.name
        heard.append((event.source.description, said))

    # Listening before the program starts, which asks then what anybody listens to.
    pyatspi.Registry.registerEventListener(on_name_changed, "object:property-change:accessible-name")

    lines = open(sample, "rb").read().decode("cp1251").splitlines()
    pid, controls = launch(entry)
    counts(controls, len(lines))
    print(f"ok   from the menu, a frame titled '{TITLE}' drilling the sample of {len(lines)}")

    # A range of one: every card is word 1, and each card must be heard, the same word too.
    controls[RANGE].queryEditableText().setTextContents("1")
    controls["Англо-русский"].queryAction().doAction(0)
    english, russian = lines[0].split("$", 1)
    question, answer = ("Слово-вопрос", english), ("Перевод", russian)

    def repeated():
        first = heard.index(question) if question in heard else len(heard)
        return answer in heard[first:] and question in heard[heard.index(answer):]

    wait_for(f"'{english}', then '{russian}', then '{english}' again", repeated)
    print(f"ok   the question '{english}', its answer, then the same question are announced")
    end(pid)

    pid, controls = launch(entry, own)
    counts(controls, 3)
    print("ok   opened on a user's engl.voc from another folder, it counts that dictionary")
    end(pid)


if __name__ == "__main__":
    main(*sys.argv[1:])
