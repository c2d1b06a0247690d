#!/usr/bin/python3
"""Drives the window with real keys under the Orca screen reader and checks
what Orca says.

Run by CTest inside xvfb-run and dbus-run-session, like test_window.py:
starts the openbox window manager, Orca with speech off and the program,
presses keys with xdotool and waits, after each, for the utterances a user
must hear. Orca logs each utterance as a SPEECH OUTPUT line of its debug
output, read here through a pseudo-terminal so that Orca writes it line by
line. Covers the 20 focus stops, a toggle, a pick with Down on the closed
list, a pick in the popup, typing (which must announce nothing) and Orca's
flat review of the register rows. Writes the utterances to orca-speech.log
in the working directory, and Orca's whole debug output to orca-debug.log
when a step fails.
"""

import argparse
import os
import pty
import re
import subprocess
import sys
import tempfile
import threading
import time

import Xlib.display
import Xlib.X

from test_window import (BOXES, LISTS, TAB_ORDER, WINDOW_TITLE, Model, box_description, cell_spoken,
                         close_program, list_description, list_label, word_spoken)

DIAGRAM = ["Signal-path diagram image.",
           "Block diagram of the chip's analog path; paths in use are drawn in red."]
# Longest wait for the utterances after a key, and for Orca or the window.
WAIT = 10.0
START_WAIT = 30.0
# Quiet time after the expected utterances: what is said then still
# belongs to the same key.
SETTLE = 0.3
UTTERANCE = re.compile(r"SPEECH OUTPUT: '(.*)'\s*(\{.*\}|\[.*\])?\s*$")


class Failure(Exception):
    pass


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
        pending = b""
        while True:
            try:
                chunk = os.read(master, 65536)
            except OSError:   # the terminal closes with Orca
                break
            if not chunk:
                break
            log.write(chunk)
            *lines, pending = (pending + chunk).split(b"\n")
            for line in lines:
                match = UTTERANCE.search(line.decode(errors="replace"))
                if match:
                    with self._lock:
                        self.spoken.append(match.group(1))
        os.close(master)

    def said(self, start=0):
        with self._lock:
            return self.spoken[start:]

    def heard(self, what, start, expected, timeout=WAIT):
        """Waits until the utterances from index start on begin with
        expected (for None: until anything is said), then for SETTLE of
        quiet; returns them all."""
        deadline = time.monotonic() + timeout
        while not (self.said(start) if expected is None
                   else self.said(start)[:len(expected)] == expected):
            if time.monotonic() > deadline:
                raise Failure(f"{what}: expected {expected}, heard {self.said(start)}")
            time.sleep(0.02)
        while True:
            count = len(self.said())
            time.sleep(SETTLE)
            if len(self.said()) == count:
                return self.said(start)

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self._reader.join(timeout=5)


class Session:
    def __init__(self, orca):
        self.orca = orca
        self.model = Model()
        self.steps = 0

    def step(self, keys, expected=None, forbidden=None):
        """Presses keys; Orca must say exactly expected, or, with forbidden,
        nothing matching it within a second."""
        start = len(self.orca.said())
        subprocess.run(["xdotool", "key", *keys.split()], check=True)
        if forbidden:
            time.sleep(1.0)
            heard = self.orca.said(start)
            if any(re.search(forbidden, u) for u in heard):
                raise Failure(f"{keys}: nothing like {forbidden!r} expected, heard {heard}")
        else:
            heard = self.orca.heard(keys, start, expected)
            if heard != expected:
                raise Failure(f"{keys}: expected {expected}, heard {heard}")
        self.steps += 1
        print(f"[ ok ] {keys}: {' | '.join(heard)}", flush=True)

    def review_to(self, line, tries=4):
        """Moves Orca's flat review down line by line until it reads line."""
        for _ in range(tries):
            start = len(self.orca.said())
            subprocess.run(["xdotool", "key", "KP_Page_Up"], check=True)
            if self.orca.heard("KP_Page_Up", start, None) == [line]:
                self.steps += 1
                print(f"[ ok ] KP_Page_Up: {line}", flush=True)
                return
        raise Failure(f"flat review never read {line!r}")

    def on_focus(self, stop):
        """What Orca says when Tab brings the focus to stop."""
        if stop == "diagram":
            return ["tab "] + DIAGRAM
        for entry in BOXES:
            if entry[0] == stop:
                state = "checked" if self.model.checked[stop] else "not checked"
                return ["tab ", f"{stop} check box {state}.", box_description(entry)]
        entry = next(entry for entry in LISTS if entry[0] == stop)
        return ["tab ", f"{list_label(entry)} editable combo box.",
                f"{self.model.text[stop]}.", list_description(entry)]

    def word(self, reg):
        return word_spoken(reg, self.model.word(reg)) + "."

    def run(self):
        for stop in TAB_ORDER[1:] + TAB_ORDER[:1]:
            self.step("Tab", self.on_focus(stop))

        # A toggle: the box's new state, then the new word.
        self.step("Tab", self.on_focus("AGPD"))
        self.model.set_box("AGPD", False)
        self.step("space", ["space ", "not checked", self.word("CFG1")])

        # Down on the closed list: the first picks the item shown, so only
        # the word is new.
        self.step("Tab", self.on_focus("AXG"))
        self.model.pick("AXG", 0)
        self.step("Down", [self.word("CFG0")])
        self.model.pick("AXG", 1)
        self.step("Down", ["1.41", self.word("CFG0")])

        # The popup opens with the field's name; Return picks.
        axg = next(entry for entry in LISTS if entry[0] == "AXG")
        label, description = list_label(axg), list_description(axg)
        self.step("alt+Down", ["left alt ", f"{label}.", "List with 4 items."])
        self.step("Down", ["2.0."])
        self.model.pick("AXG", 2)
        self.step("Return", ["return ", f"{label} editable combo box.", "2.0.", description, "2.0",
                             self.word("CFG0")])

        self.step("x Return", forbidden=r" hex ")

        # Flat review from the top left: each header, then its register's
        # cells and word.
        self.step("Insert+KP_Home", ["CFG0 register header"])
        for reg in ("CFG0", "CFG1"):
            if reg != "CFG0":
                self.review_to(f"{reg} register header")
            cells = [cell_spoken(reg, bit, self.model.bits[(reg, bit)]) for bit in range(15, -1, -1)]
            self.review_to(" ".join(cells + [word_spoken(reg, self.model.word(reg))]))


def wait_for_window_manager():
    display = Xlib.display.Display()
    check = display.intern_atom("_NET_SUPPORTING_WM_CHECK")
    deadline = time.monotonic() + START_WAIT
    while display.screen().root.get_full_property(check, Xlib.X.AnyPropertyType) is None:
        if time.monotonic() > deadline:
            raise Failure("openbox did not start")
        time.sleep(0.05)
    display.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the program to start")
    args = parser.parse_args()

    started = time.monotonic()
    failed = []
    home = tempfile.TemporaryDirectory()
    debug_log = tempfile.TemporaryFile()
    window_manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
    orca = program = session = None
    try:
        wait_for_window_manager()
        orca = Orca(home.name, debug_log)
        orca.heard("Orca starting", 0, ["Screen reader on."], timeout=START_WAIT)
        program = subprocess.Popen([args.program], stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
        # The window, then the diagram that has the focus.
        orca.heard("the window opening", 1, [f"{WINDOW_TITLE} frame."] + DIAGRAM, timeout=START_WAIT)
        session = Session(orca)
        session.run()
    except Failure as failure:
        print(f"[FAIL] {failure}", flush=True)
        failed.append(str(failure))

    if program:
        failed += close_program(program)
    if orca:
        orca.stop()
        with open("orca-speech.log", "w", encoding="utf-8") as transcript:
            transcript.writelines(u + "\n" for u in orca.said())
    window_manager.terminate()
    window_manager.wait()
    if failed:
        debug_log.seek(0)
        with open("orca-debug.log", "wb") as kept:
            kept.write(debug_log.read())
    for failure in failed:
        print(f"failed: {failure}")
    print(f"orca: {session.steps if session else 0} steps, {len(failed)} failed, "
          f"{time.monotonic() - started:.1f} s; utterances in {os.path.abspath('orca-speech.log')}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
