#!/usr/bin/python3
"""The Windows program under Wine as a Windows screen reader meets it through
UI Automation, driven with real X input as real_input.py drives it.

After each step a UIA client (uia-client.exe) reads the whole window, and
every box, list, cell, word, the diagram and the window must carry the
control type, name and description the expected table and the register
model give, in the language under test (LANGUAGE), and the focus must be
where the step put it. Wine's client cannot read a box's toggle state or a
list's value (only a real Windows answers them); what the program raises
for them, and its announcements, Wine logs on its "uiautomation" channel
(WINEDEBUG=fixme+uiautomation,trace+uiautomation), which the test reads:
after each edit the edited register's new word announced once, the box's
new toggle state, the list's new value; after typing and after a move of
the focus, no announcement.

The steps: the window at start; a click on the INS0 box; a click into the
AOS list and three presses of Down; Tab; Shift+Tab and typing; a client
that ends in the middle of its walk; a client that holds the AOS list's
open popup and its first item while the popup closes, then asks both again.
The program must run and answer to the end. With --start-only only the
first step. Only a program built with Qt 6.8 or later announces
(--qt-announces): Qt before 6.8 cannot raise a UIA notification. The
program's log is kept in the working directory.

  uia_window.py --program isd5116-config.exe --client uia-client.exe --wine tests/wine/wine.sh
"""

import argparse
import json
import os
import re
import subprocess
import sys
import time

from expected_table import FIELDS, REGISTERS, TABLE, TITLE, cell_control, word_control
from expected_window import (BOXES, DIAGRAM_DESCRIPTION, DIAGRAM_NAME, LISTS, TAB_ORDER, Model,
                             box_description, cell_description, cell_spoken, list_description,
                             list_label, tr, word_description, word_spoken)
from real_input import WAIT, Failed, box, centre, program_window, xdotool

# UIA's control types.
WINDOW, CHECK_BOX, COMBO_BOX, TEXT, IMAGE, LIST = 50032, 50002, 50003, 50020, 50006, 50008
# UIA's properties and events, as Wine logs them.
TOGGLE_STATE, VALUE = "30086", "30045"
FOCUS_CHANGED = "20005"
DIAGRAM = TABLE["window"]["diagram"]
FIELD_OF = {field.control: field for field in FIELDS.values()}
# Where the client ends its walk, in "abandon".
ABANDON_AFTER = 25

NOTIFICATION = re.compile(r'UiaRaiseNotificationEvent \(\w+, \d+, \d+, L"((?:[^"\\]|\\.)*)"')
PROPERTY = re.compile(r"UiaRaiseAutomationPropertyChangedEvent \(\w+, (\d+), \w+ \{(.*?)\}, \w+ \{(.*?)\}\)")
EVENT = re.compile(r"UiaRaiseAutomationEvent \(\w+, (\d+)\)")
VARIANT = re.compile(r'VT_EMPTY|VT_I4: (-?\d+)|VT_BSTR: L"(.*)"')


def unwine(text):
    """A string as Wine's log writes it, with \\n, \\", \\\\ and \\XXXX."""
    return re.sub(r"\\([0-9a-f]{4}|.)", lambda m: chr(int(m.group(1), 16)) if len(m.group(1)) == 4
                  else {"n": "\n", "r": "\r", "t": "\t"}.get(m.group(1), m.group(1)), text)


def variant(text):
    """A value as Wine's log writes it: None (empty), a number or a string."""
    found = VARIANT.fullmatch(text)
    if not found:
        raise Failed(f"a value not understood in Wine's log: {text}")
    number, string = found.groups()
    return int(number) if number is not None else None if string is None else unwine(string)


def stop_control(stop):
    return DIAGRAM if stop == "diagram" else FIELDS[stop].control


def expected(model):
    """Each control's (control type, name, description) by its object name."""
    facts = {TABLE["window"]["control"]: (WINDOW, TITLE, ""),
             DIAGRAM: (IMAGE, tr(DIAGRAM_NAME), tr(DIAGRAM_DESCRIPTION))}
    facts.update({f.control: (CHECK_BOX, f.name, box_description(f)) for f in BOXES})
    facts.update({f.control: (COMBO_BOX, list_label(f), list_description(f)) for f in LISTS})
    facts.update({cell_control(reg, bit): (TEXT, cell_spoken(reg, bit, value), cell_description(reg, bit))
                  for (reg, bit), value in model.bits.items()})
    facts.update({word_control(reg): (TEXT, word_spoken(reg, model.word(reg)), word_description(reg))
                  for reg in REGISTERS})
    return facts


class Client:
    def __init__(self, args):
        self.command = [args.wine, args.client]

    def run(self, *args, **popen):
        return subprocess.Popen([*self.command, *args, "ISD5116"], stdout=subprocess.PIPE, text=True,
                                encoding="utf-8", **popen)

    def walk(self):
        client = self.run("walk")
        lines, _ = client.communicate(timeout=WAIT * 4)
        if client.returncode != 0:
            raise Failed(f"the UIA client's walk ended with status {client.returncode}")
        return [json.loads(line) for line in lines.splitlines()]


def owner(element, controls):
    """The control an element belongs to, by the object names on its path:
    the edit field of a list is the list's."""
    for name in reversed((element["id"] or "").split(".")):
        if name in controls:
            return name
    return None


def differences(elements, model, focus):
    """What the walk read that the model and the focus stop do not expect."""
    want = expected(model)
    seen, focused, problems = {}, set(), []
    for element in elements:
        control = owner(element, want)
        if control is None:
            continue
        if element["focused"] and control != TABLE["window"]["control"]:
            focused.add(control)
        if element["id"].endswith("." + control):
            if control in seen:
                problems.append(f"{control} read twice")
            seen[control] = (element["type"], element["name"], element["description"] or "")
            problems += state_answered(control, element, model)
    problems += [f"{control}: {seen.get(control)} instead of {facts}"
                 for control, facts in want.items() if seen.get(control) != facts]
    if focused != {stop_control(focus)}:
        problems.append(f"the focus on {sorted(focused)}, not on {focus}")
    return problems


def state_answered(control, element, model):
    """A box's toggle state or a list's value, where UIA answers it: Wine's
    client does not, a real Windows does."""
    field = FIELD_OF.get(control)
    if field is None:
        return []
    got, want = ((element["toggle"], int(model.checked[field.name])) if field.is_box
                 else (element["value"], model.text[field.name]))
    return [] if got is None or got == want else [f"{field.name} reads {got!r}, not {want!r}"]


class Log:
    """Wine's log of the program's UIA calls, from a mark on."""

    def __init__(self, path):
        self.path, self.start = path, 0

    def mark(self):
        self.start = os.path.getsize(self.path)

    def text(self):
        with open(self.path, encoding="utf-8", errors="replace") as log:
            log.seek(self.start)
            return log.read()

    def announced(self):
        return [unwine(text) for text in NOTIFICATION.findall(self.text())]

    def changed(self, prop):
        """The property's changes told, as (old, new) values."""
        return [(variant(old), variant(new)) for found, old, new in PROPERTY.findall(self.text()) if found == prop]

    def events(self, event):
        return EVENT.findall(self.text()).count(event)


def settle(probe, done):
    """probe()'s value once done(value), or its last value after WAIT."""
    deadline = time.monotonic() + WAIT
    while True:
        value = probe()
        if done(value) or time.monotonic() > deadline:
            return value
        time.sleep(0.3)


class Session:
    def __init__(self, args, window_id, log):
        self.client, self.log, self.window = Client(args), log, window_id
        self.model, self.focus = Model(), TAB_ORDER[0]

    def click(self, field):
        x, y = centre(box(FIELDS[field].control))
        xdotool("mousemove", "--window", self.window, str(x), str(y), "click", "1",
                "mousemove", "--window", self.window, "500", "730")
        self.focus = field

    def expect(self, step, announced=(), toggled=(), values=(), focus_moved=False):
        """The window as the model says, read through UIA; what the program
        told UIA since the last step. Qt tells a changed toggle state or value
        without the old one."""
        problems = settle(lambda: differences(self.client.walk(), self.model, self.focus), lambda p: not p)
        if problems:
            raise Failed(f"{step}: " + "; ".join(problems[:8]))
        told = {"announced": (self.log.announced, list(announced)),
                "toggle states": (lambda: self.log.changed(TOGGLE_STATE), [(None, int(on)) for on in toggled]),
                "values": (lambda: self.log.changed(VALUE), [(None, value) for value in values])}
        for what, (probe, want) in told.items():
            got = settle(probe, lambda got: got == want)
            if got != want:
                raise Failed(f"{step}: {what} {got} instead of {want}")
        if focus_moved and not self.log.events(FOCUS_CHANGED):
            raise Failed(f"{step}: no focus-changed event raised")
        print(f"PASS: {step}")
        self.log.mark()


def hostile_clients(session, program):
    """A client ends in the middle of its walk; another holds the open popup
    and its first item while the popup closes, and asks them again."""
    abandoned = session.client.run("abandon", str(ABANDON_AFTER))
    abandoned.communicate(timeout=WAIT * 4)
    session.expect(f"a client ended after {ABANDON_AFTER} elements")

    aos = FIELDS["AOS"]
    xdotool("key", "alt+Down")
    holder = session.client.run("hold", list_label(aos), stdin=subprocess.PIPE)
    held = json.loads(holder.stdout.readline() or "{}")
    if held.get("held") != aos.items[0]:
        holder.kill()
        raise Failed(f"the open AOS popup's first item was not read: {held}")
    xdotool("key", "Escape")
    popup = (LIST, list_label(aos))
    still_open = settle(lambda: [e for e in session.client.walk() if (e["type"], e["name"]) == popup],
                        lambda found: not found)
    if still_open:
        holder.kill()
        raise Failed("Escape did not close the AOS popup")
    answers, _ = holder.communicate("asked again\n", timeout=WAIT * 4)
    print(f"the closed popup and its item answered: {answers.strip()}")
    if program.poll() is not None:
        raise Failed(f"the program ended, status {program.returncode}")
    session.expect("a client asked the AOS popup and its item after the popup closed")


def run(args):
    log_name = "uia-start.log" if args.start_only else "uia-steps.log"
    env = dict(os.environ, WINEDEBUG="fixme+uiautomation,trace+uiautomation")
    with (open(log_name, "wb") as log_file,
          program_window(args.wine, args.program, stderr=log_file, env=env) as (program, window_id)):
        session = Session(args, str(window_id), Log(log_name))
        session.expect("the window at start")
        if args.start_only:
            return

        session.click("INS0")
        session.model.set_box("INS0", True)
        def said(words):   # what an edit announces: nothing before Qt 6.8
            return words if args.qt_announces else []

        session.expect("INS0 box clicked", announced=said([word_spoken("CFG0", session.model.word("CFG0"))]),
                       toggled=[True], focus_moved=True)

        aos = FIELDS["AOS"]
        session.click(aos.name)
        xdotool("key", "Down", "Down", "Down")   # from no item picked: each a pick
        words = []
        for index in range(3):
            session.model.pick(aos.name, index)
            words.append(word_spoken(aos.register, session.model.word(aos.register)))
        session.expect("AOS clicked, Down three times", announced=said(words), values=aos.items[:3],
                       focus_moved=True)

        xdotool("key", "Tab")
        session.focus = TAB_ORDER[TAB_ORDER.index(aos.name) + 1]
        session.expect("Tab", focus_moved=True)

        xdotool("key", "shift+Tab")
        xdotool("type", "SUM")
        session.focus = aos.name
        session.expect("Shift+Tab, typing into AOS", focus_moved=True)

        hostile_clients(session, program)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--client", required=True)
    parser.add_argument("--wine", required=True)
    parser.add_argument("--start-only", action="store_true")
    parser.add_argument("--qt-announces", action="store_true")
    try:
        run(parser.parse_args())
    except (Failed, subprocess.SubprocessError, json.JSONDecodeError) as error:
        print(f"FAIL: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
