#!/usr/bin/python3
"""Meets the running program as a screen reader does, over AT-SPI.

Started by run_atspi_e2e.sh, which provides the display, the buses and the program. Finds the
program's window on the accessibility bus, reads its fields, runs two English-first cards
while listening for the name changes a screen reader speaks, opens and closes the About box,
then closes the window and waits for the process to end. Prints each check as it passes and
stops at the first failure with a non-zero status. No wait lasts longer than --timeout.
"""

import argparse
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402
from gi.repository import Gio, GLib  # noqa: E402
from Xlib import X  # noqa: E402
from Xlib import display as xdisplay  # noqa: E402
from Xlib.protocol import event as xevent  # noqa: E402

TITLE = "Вокабунта 1.0 (5.9.2003)"
ENGLISH_FIRST = "Англо-русский"
ABOUT = "О программе"
ABOUT_TITLE = "Информация"
ABOUT_TEXT = "Вокабунта\nI версия\nАвтор: Зельвиран\n5.09.2003г."
QUESTION = "Слово-вопрос"
ANSWER = "Перевод"
INTERVAL = "Интервал в секундах"
RANGE = "Словарный диапазон: сколько слов с начала словаря участвуют"
SEQ_NO = "Порядковый номер карточки"
WORD_NO = "Номер слова в словаре"
NAME_CHANGED = "object:property-change:accessible-name"

FIELD_ROLES = (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)
BOX_ROLES = (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT)


class Failure(Exception):
    pass


def passed(message):
    print("ok   " + message, flush=True)


def pump():
    """Lets libatspi deliver the events queued for our listener."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(what, probe, timeout):
    """Returns probe()'s first truthy value; objects may vanish meanwhile, so errors mean 'not yet'."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        pump()
        try:
            value = probe()
            if value:
                return value
        except (GLib.Error, RuntimeError, LookupError) as error:
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise Failure(f"gave up after {timeout:g}s waiting for {what}{detail}")
        time.sleep(0.05)


def descendants(root):
    stack = [root]
    while stack:
        node = stack.pop()
        yield node
        stack.extend(child for child in node if child is not None)


def one(root, what, roles, name=None, description=None):
    found = [
        acc
        for acc in descendants(root)
        if acc.getRole() in roles
        and (name is None or acc.name == name)
        and (description is None or acc.description == description)
    ]
    if len(found) != 1:
        raise Failure(f"expected one {what}, found {len(found)}")
    return found[0]


def text_of(field):
    return field.queryText().getText(0, -1)


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for i, name in enumerate(names):
        if name.lower() in ("press", "click"):
            if not action.doAction(i):
                raise Failure(f"'{button.name}' refused its {name} action")
            return
    raise Failure(f"'{button.name}' offers no press action, only {names}")


def spaced(text):
    return " ".join(text.split())


def read_dictionary(path):
    data = open(path, "rb").read()
    try:
        text = data.decode("utf-8-sig")
    except UnicodeDecodeError:
        text = data.decode("cp1251")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return [line.rstrip("\r") for line in lines]


def registry_lists(event_name):
    """True once the registry reports a listener for event_name, as the program will learn it."""
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                              GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 5000, None)
    flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
             | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
    bus = Gio.DBusConnection.new_for_address_sync(reply.unpack()[0], flags, None, None)
    try:
        reply = bus.call_sync("org.a11y.atspi.Registry", "/org/a11y/atspi/registry",
                              "org.a11y.atspi.Registry", "GetRegisteredEvents", None,
                              GLib.VariantType("(a(ss))"), Gio.DBusCallFlags.NONE, 5000, None)
    finally:
        bus.close_sync(None)

    # The registry may spell it "Object:PropertyChange:AccessibleName".
    def plain(name):
        return name.replace("-", "").lower()

    return any(plain(listened) == plain(event_name) for _, listened in reply.unpack()[0])


def find_application(pid, timeout):
    def probe():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                return app
        if process_gone(pid):
            raise Failure(f"process {pid} ended before it appeared on the accessibility bus")
        return None

    return wait_for(f"process {pid} on the accessibility bus", probe, timeout)


def process_gone(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] == "Z"
    except FileNotFoundError:
        return True


def close_window(pid, title):
    """Asks the window to close the way a window manager's close button does."""
    x = xdisplay.Display()
    try:
        wm_pid = x.intern_atom("_NET_WM_PID")
        wm_name = x.intern_atom("_NET_WM_NAME")
        utf8 = x.intern_atom("UTF8_STRING")
        protocols = x.intern_atom("WM_PROTOCOLS")
        delete = x.intern_atom("WM_DELETE_WINDOW")
        windows = []
        for window in x.screen().root.query_tree().children:
            owner = window.get_full_property(wm_pid, X.AnyPropertyType)
            if owner is None or list(owner.value) != [pid]:
                continue
            name = window.get_full_property(wm_name, utf8)
            if name is None:
                continue
            value = name.value
            if isinstance(value, bytes):
                value = value.decode("utf-8")
            if value == title:
                windows.append(window)
        if len(windows) != 1:
            raise Failure(f"expected one X window titled '{title}', found {len(windows)}")
        window = windows[0]
        if delete not in (window.get_wm_protocols() or []):
            raise Failure("the window does not accept WM_DELETE_WINDOW")
        message = xevent.ClientMessage(
            window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0])
        )
        window.send_event(message, event_mask=X.NoEventMask)
        x.sync()
    finally:
        x.close()


def run(pid, dictionary_path, timeout):
    lines = read_dictionary(dictionary_path)
    app = find_application(pid, timeout)

    def main_window():
        for child in app:
            if child is not None and child.name == TITLE:
                return child
        return None

    window = wait_for(f"a window titled '{TITLE}'", main_window, timeout)
    if window.getRole() != pyatspi.ROLE_FRAME:
        raise Failure(
            f"the main window '{TITLE}' is exposed as '{window.getRoleName()}', not as a frame: "
            "a screen reader does not treat it as a window and cannot announce its title"
        )
    passed(f"the main window is a frame titled '{TITLE}'")

    question = one(window, f"label described '{QUESTION}'", (pyatspi.ROLE_LABEL,),
                   description=QUESTION)
    answer = one(window, f"label described '{ANSWER}'", (pyatspi.ROLE_LABEL,), description=ANSWER)
    interval = one(window, f"field described '{INTERVAL}'", FIELD_ROLES, description=INTERVAL)
    range_field = one(window, f"field described '{RANGE}'", FIELD_ROLES, description=RANGE)
    seq_no = one(window, f"field described '{SEQ_NO}'", FIELD_ROLES, description=SEQ_NO)
    word_no = one(window, f"field described '{WORD_NO}'", FIELD_ROLES, description=WORD_NO)
    english_first = one(window, f"push button '{ENGLISH_FIRST}'", (pyatspi.ROLE_PUSH_BUTTON,),
                        name=ENGLISH_FIRST)
    about = one(window, f"push button '{ABOUT}'", (pyatspi.ROLE_PUSH_BUTTON,), name=ABOUT)
    passed("found both bands, the four fields and the buttons by role and description or label")

    count = str(len(lines))
    wait_for(
        f"the start-up values (interval 2, range {count})",
        lambda: text_of(interval) == "2" and text_of(range_field) == count,
        timeout,
    )
    if question.name or answer.name:
        raise Failure(
            f"the bands speak before a run starts: '{question.name}' / '{answer.name}'"
        )
    passed(f"at start the interval field reads 2, the range field {count}, both bands are silent")

    heard = []

    def on_name_changed(event):
        # Some toolkits put the new name in the event, others a reference to the object only;
        # a screen reader then asks the object, and so do we.
        try:
            said = event.any_data if isinstance(event.any_data, str) else event.source.name
            heard.append((event.source.path, said))
        except Exception as error:  # noqa: BLE001 - a lost event must not kill the listener
            heard.append((None, f"unreadable event: {error}"))

    pyatspi.Registry.registerEventListener(on_name_changed, NAME_CHANGED)
    # The program sends only the events someone listens to, and asks the registry which; once
    # the registry lists ours, one call to the program is queued behind that news.
    wait_for("the registry to list our listener", lambda: registry_lists(NAME_CHANGED), timeout)
    text_of(interval)

    def card(number):
        """The card now shown, read so that all three values belong to card `number`."""
        before = text_of(seq_no)
        index, shown = text_of(word_no), question.name
        if before != str(number) or text_of(seq_no) != before or not shown:
            return None
        if not index.isdigit():
            raise Failure(f"card {number}'s dictionary-number field reads '{index}'")
        return int(index), shown

    def check_question(number, index, shown):
        if not 1 <= index <= len(lines):
            raise Failure(f"card {number} names dictionary word {index}, outside 1..{len(lines)}")
        english = lines[index - 1].split("$", 1)[0]
        if spaced(shown) != spaced(english):
            raise Failure(
                f"card {number} asks '{shown}', but word {index} in English is '{english}'"
            )

    press(english_first)
    index1, question1 = wait_for("card 1's question", lambda: card(1), timeout)
    check_question(1, index1, question1)
    passed(f"card 1 asks '{question1}', word {index1}, in English; the running number reads 1")

    def answer_to(number):
        before = text_of(seq_no)
        shown = answer.name
        if before != str(number) or text_of(seq_no) != before:
            raise Failure(f"card {number} was replaced before its answer was seen")
        return shown

    answer1 = wait_for("card 1's answer", lambda: answer_to(1), timeout)
    russian = lines[index1 - 1].split("$", 1)[1] if "$" in lines[index1 - 1] else ""
    if spaced(answer1) != spaced(russian):
        raise Failure(f"card 1 answers '{answer1}', but word {index1} in Russian is '{russian}'")
    if question.name != question1:
        raise Failure(f"the question changed to '{question.name}' when the answer came")
    passed(f"card 1's answer follows: '{answer1}', the question stays")

    index2, question2 = wait_for("card 2", lambda: card(2), timeout)
    check_question(2, index2, question2)
    passed(f"card 2 follows: '{question2}', word {index2}; the running number reads 2")

    def spoken():
        q1 = heard.index((question.path, question1)) if (question.path, question1) in heard else -1
        a1 = heard.index((answer.path, answer1)) if (answer.path, answer1) in heard else -1
        cleared = (answer.path, "") in heard[a1 + 1:] if a1 >= 0 else False
        return q1 >= 0 and a1 > q1 and cleared

    try:
        wait_for("the bands' name changes on the bus", spoken, timeout)
    except Failure as failure:
        raise Failure(f"{failure}; heard {heard}") from None
    passed(
        f"{NAME_CHANGED} events carry the question, then the answer, then clear the answer "
        "for the next card"
    )
    pyatspi.Registry.deregisterEventListener(on_name_changed, NAME_CHANGED)

    press(about)

    def about_box():
        for child in app:
            if (child is not None and child.getRole() in BOX_ROLES and child.name == ABOUT_TITLE
                    and child.getState().contains(pyatspi.STATE_SHOWING)):
                return child
        return None

    box = wait_for(f"a dialog titled '{ABOUT_TITLE}'", about_box, timeout)
    texts = [acc.name for acc in descendants(box) if acc.getRole() == pyatspi.ROLE_LABEL]
    if ABOUT_TEXT not in texts:
        raise Failure(f"the About box says {texts}, not {ABOUT_TEXT!r}")
    # Its label may be translated, so the button is known by being the only one.
    ok = one(box, "push button in the About box", (pyatspi.ROLE_PUSH_BUTTON,))
    ok_label = ok.name
    if not ok_label.strip():
        raise Failure("the About box's button has no name for a screen reader to speak")
    passed(f"'{ABOUT}' opens '{ABOUT_TITLE}' ({box.getRoleName()}) reading {ABOUT_TEXT!r}, "
           f"with one button, '{ok_label}'")

    press(ok)
    wait_for("the About box to close", lambda: about_box() is None, timeout)
    passed(f"'{ok_label}' closes the About box")

    # A range of one: every card is the same word, and each card must still be heard.
    range_field.queryEditableText().setTextContents("1")
    wait_for("the range field to read 1", lambda: text_of(range_field) == "1", timeout)
    heard.clear()
    pyatspi.Registry.registerEventListener(on_name_changed, NAME_CHANGED)
    wait_for("the registry to list our listener", lambda: registry_lists(NAME_CHANGED), timeout)
    text_of(interval)
    press(english_first)
    first = lines[0].split("$", 1)[0]
    restarted = wait_for("the restart on word 1", lambda: text_of(word_no) == "1" and
                         spaced(question.name) == spaced(first) and text_of(seq_no), timeout)
    wait_for("the next card", lambda: text_of(seq_no) == str(int(restarted) + 1), timeout)

    def repeated():
        said = [text for path, text in heard if path == question.path]
        return said.count(question.name) >= 2 and spaced(question.name) == spaced(first)

    try:
        wait_for("the repeated word announced again", repeated, timeout)
    except Failure as failure:
        raise Failure(f"{failure}; heard {heard}") from None
    pyatspi.Registry.deregisterEventListener(on_name_changed, NAME_CHANGED)
    passed(f"with a range of 1, '{first}' is announced again on the next card")

    close_window(pid, TITLE)
    wait_for(f"process {pid} to exit after its window was closed", lambda: process_gone(pid),
             timeout)
    passed("closing the main window ends the program")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pid", type=int, required=True, help="the program's process id")
    parser.add_argument("--dictionary", required=True, help="the engl.voc the program reads")
    parser.add_argument("--timeout", type=float, default=20.0, help="seconds for any one wait")
    args = parser.parse_args()
    try:
        run(args.pid, args.dictionary, args.timeout)
    except Failure as failure:
        print(f"FAIL {failure}", file=sys.stderr, flush=True)
        return 1
    except Exception as error:  # noqa: BLE001 - whatever broke, say so and fail
        print(f"FAIL {type(error).__name__}: {error}", file=sys.stderr, flush=True)
        return 1
    print("atspi_e2e: all checks passed", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
