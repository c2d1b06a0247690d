#!/usr/bin/python3
"""Drives the window with real keys under the Orca screen reader and checks
what Orca says.

Starts the openbox window manager, Orca with speech off and the program,
presses keys with xdotool and waits, after each, for the words a user must
hear, in order; how an Orca release splits them into utterances and
punctuates them is not the user's concern. Orca logs each utterance as a
SPEECH OUTPUT line of its debug output, read here through a pseudo-terminal
so that Orca writes it line by line. Covers the focus stops, a toggle, a pick
with Down on the closed list, a pick in the popup, typing (which must
announce nothing) and Orca's flat review of the register rows. Writes the
utterances to orca-speech.log in the working directory, and Orca's whole
debug output to orca-debug.log when a step fails.
"""

import contextlib
import itertools
import os
import pty
import re
import subprocess
import sys
import tempfile
import threading
import time

import Xlib.X

from atspi_driver import (START_WAIT, Failure, Fatal, Program, Run, arguments, expect, wait_for,
                          wait_or_kill, x_display)
from expected_window import (DIAGRAM_DESCRIPTION, DIAGRAM_NAME, FIELDS, REGISTERS, TAB_ORDER, TITLE,
                             Model, box_description, cell_spoken, list_description, list_label,
                             word_spoken)

# Longest wait for the words after a key.
SPEECH_WAIT = 10.0
# Quiet time after the expected words: what is said then still belongs to
# the same key.
SETTLE = 0.3
UTTERANCE = re.compile(r"SPEECH OUTPUT: '(.*)'\s*(\{.*\}|\[.*\])?\s*$")
# A word as heard: "2.0", "6,4кГц" and "SP/3,6V/150ом" are one word each; a
# period, colon or dash between words is not heard as a word.
WORD = re.compile(r"\w+(?:[.,/'’]\w+)*|&")


def words(utterances):
    return WORD.findall(" ".join(utterances))


def maybe(text):
    """Words that one Orca release says at this place and another does not."""
    return (text, "")


def one_of(*texts):
    """Words that Orca releases say differently at this place, each way."""
    return texts


def ways(expected):
    """Every sequence of words that says expected: a part is text, or a
    tuple of the ways it may be said."""
    choices = [part if isinstance(part, tuple) else (part,) for part in expected]
    return {tuple(words(choice)) for choice in itertools.product(*choices)}


def said_as(heard, expected):
    """Whether the words heard are one way of saying expected."""
    return tuple(words(heard)) in ways(expected)


# Orca 48 says the role of the object that announces a new word first.
ANNOUNCED = maybe("notification")


class Orca:
    """Orca with speech off; collects what it would have said."""

    def __init__(self, home, log):
        self.spoken = []
        self._lock = threading.Lock()
        master, slave = pty.openpty()
        # Opened on a terminal, Orca's debug file is written line by line.
        self.process = subprocess.Popen(
            ["orca", "--user-prefs", os.path.join(home, "orca"), "--debug-file=/dev/stdout"],
            stdin=subprocess.DEVNULL, stdout=slave, stderr=slave,
            env=dict(os.environ, HOME=home, SPEECHD_CMD="/bin/false"))
        os.close(slave)
        self._reader = threading.Thread(target=self._read, args=(master, log), daemon=True)
        self._reader.start()

    def _read(self, master, log):
        with open(master, "rb") as terminal, contextlib.suppress(OSError):  # it closes with Orca
            for line in terminal:
                log.write(line)
                match = UTTERANCE.search(line.decode(errors="replace"))
                if match:
                    with self._lock:
                        self.spoken.append(match.group(1))

    def said(self, start=0):
        with self._lock:
            return self.spoken[start:]

    def heard(self, what, start, expected, timeout=SPEECH_WAIT):
        """Waits until something is said from utterance start on, and its
        words begin with a way of saying expected (if given), then for
        SETTLE of quiet; returns the utterances."""
        wanted = ways(expected or [])

        def begun():
            heard = tuple(words(self.said(start)))
            return bool(self.said(start)) and any(heard[:len(way)] == way for way in wanted)
        wait_for(what, begun, timeout=timeout,
                 report=lambda _: f"expected {expected}, heard {self.said(start)}")
        while True:
            count = len(self.said())
            time.sleep(SETTLE)
            if len(self.said()) == count:
                return self.said(start)

    def stop(self):
        self.process.terminate()
        wait_or_kill(self.process, 10)
        self._reader.join(timeout=5)


def press(keys):
    subprocess.run(["xdotool", "key", *keys.split()], check=True)


class Session:
    def __init__(self, orca, run):
        self.orca = orca
        self.run = run
        self.model = Model()

    def step(self, keys, expected=None, unsaid=None):
        """Presses keys; Orca must say expected's words, in order, and no
        more; or, given unsaid, not say that word within a second."""
        def body():
            start = len(self.orca.said())
            press(keys)
            if unsaid:
                time.sleep(1.0)
                heard = self.orca.said(start)
                expect(unsaid not in words(heard), f"{keys}: nothing with {unsaid!r} expected, heard {heard}")
            else:
                heard = self.orca.heard(keys, start, expected)
                expect(said_as(heard, expected), f"{keys}: expected {expected}, heard {heard}")
            return " | ".join(heard)
        self.run.case(f"{keys} says no {unsaid!r}" if unsaid else keys, body)

    def review_to(self, line, tries=4):
        """Moves Orca's flat review down line by line until it reads line."""
        def body():
            for _ in range(tries):
                start = len(self.orca.said())
                press("KP_Page_Up")
                if said_as(self.orca.heard("KP_Page_Up", start, None), [line]):
                    return line
            raise Failure(f"flat review never read {line!r}")
        self.run.case("KP_Page_Up", body)

    def on_focus(self, stop):
        """What Orca says when Tab brings the focus to stop."""
        if stop == "diagram":
            return ["tab", DIAGRAM_NAME, "image", DIAGRAM_DESCRIPTION]
        field = FIELDS[stop]
        if field.is_box:
            state = "checked" if self.model.checked[stop] else "not checked"
            return ["tab", f"{stop} check box {state}", box_description(field)]
        # Orca 48 says the combo box's name, which Qt makes its text, too.
        text = self.model.text[stop]
        return ["tab", list_label(field), maybe(text), "editable combo box", text, list_description(field)]

    def word(self, reg):
        return word_spoken(reg, self.model.word(reg))

    def all_steps(self):
        for stop in TAB_ORDER[1:] + TAB_ORDER[:1]:
            self.step("Tab", self.on_focus(stop))

        # A toggle: the box's new state, then the new word.
        self.step("Tab", self.on_focus("AGPD"))
        self.model.set_box("AGPD", False)
        self.step("space", ["space", "not checked", ANNOUNCED, self.word("CFG1")])

        # Down on the closed list: the first picks the item shown, so only
        # the word is new.
        axg = FIELDS["AXG"]
        self.step("Tab", self.on_focus(axg.name))
        self.model.pick(axg.name, 0)
        self.step("Down", [ANNOUNCED, self.word(axg.register)])
        self.model.pick(axg.name, 1)
        self.step("Down", [axg.items[1], ANNOUNCED, self.word(axg.register)])

        # The popup opens: Orca 43 says its name (the field's) and its size,
        # Orca 48 the highlighted item. Return picks; Orca 43 says the item
        # once more.
        self.step("alt+Down", ["left alt", one_of(f"{list_label(axg)} List with {len(axg.items)} items",
                                                  axg.items[1])])
        self.step("Down", [axg.items[2]])
        self.model.pick(axg.name, 2)
        self.step("Return", ["return", list_label(axg), maybe(axg.items[2]), "editable combo box",
                             axg.items[2], list_description(axg), maybe(axg.items[2]), ANNOUNCED,
                             self.word(axg.register)])

        self.step("x Return", unsaid="hex")

        # Flat review from the top left: each header, then its register's
        # cells and word.
        for reg in REGISTERS:
            header = f"{reg} register header"
            if reg == REGISTERS[0]:
                # Orca 48 echoes the Insert key.
                self.step("Insert+KP_Home", [maybe("insert"), header])
            else:
                self.review_to(header)
            cells = [cell_spoken(reg, bit, self.model.bits[(reg, bit)]) for bit in range(15, -1, -1)]
            self.review_to(" ".join(cells + [self.word(reg)]))


def wait_for_window_manager():
    with x_display() as display:
        check = display.intern_atom("_NET_SUPPORTING_WM_CHECK")
        wait_for("openbox starting", lambda: display.screen().root.get_full_property(
            check, Xlib.X.AnyPropertyType) is not None, timeout=START_WAIT,
            report=lambda _: "no window manager")


def main():
    args = arguments(__doc__.splitlines()[0])
    run = Run("orca", max_failures=1)
    home = tempfile.TemporaryDirectory()
    debug_log = tempfile.TemporaryFile()
    window_manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
    orca = program = None
    try:
        wait_for_window_manager()
        orca = Orca(home.name, debug_log)
        run.case("Orca starts", lambda: orca.heard("Orca starting", 0, ["Screen reader on"],
                                                   timeout=START_WAIT))
        program = Program(args.program)
        # The window, then the diagram that has the focus.
        run.case("the window opens", lambda: orca.heard(
            "the window opening", 1, [f"{TITLE} frame", DIAGRAM_NAME, "image", DIAGRAM_DESCRIPTION],
            timeout=START_WAIT))
        Session(orca, run).all_steps()
    except (Fatal, Failure) as fatal:
        run.stopped(fatal)

    if program:
        run.failed += program.close(TITLE)
    if orca:
        orca.stop()
        with open("orca-speech.log", "w", encoding="utf-8") as transcript:
            transcript.writelines(u + "\n" for u in orca.said())
    window_manager.terminate()
    window_manager.wait()
    if run.failed:
        debug_log.seek(0)
        with open("orca-debug.log", "wb") as kept:
            kept.write(debug_log.read())
    return run.finish(program.printed() if program else "",
                      f"; utterances in {os.path.abspath('orca-speech.log')}")


if __name__ == "__main__":
    sys.exit(main())
