#!/usr/bin/python3
"""Drives the window with real keys under the Orca screen reader and checks
what Orca speaks.

Run by CTest inside xvfb-run and dbus-run-session, like test_window.py.
Starts the openbox window manager, Orca with speech off and the program;
presses keys with xdotool and, after each, waits for the utterances that a
user must hear. Orca logs every utterance as a SPEECH OUTPUT line of its
debug output, which is read here through a pseudo-terminal so that Orca
writes it line by line. Covers the 20 focus stops with Tab, a toggle with
Space, a pick with Down on the closed list, a pick in the opened popup,
typing into a list's field (which must announce nothing) and Orca's flat
review over the header, cell and word rows. Writes every utterance to
orca-speech.log in the working directory, and Orca's whole debug output to
orca-debug.log when a step fails.
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

from test_window import (BOXES, LISTS, TAB_ORDER, WINDOW_TITLE, Model, cell_spoken, close_window,
                         list_label, word_spoken)

DIAGRAM = ["Signal-path diagram image.",
           "Block diagram of the chip's analog path; paths in use are drawn in red."]
# Longest wait for the utterances after a key; for Orca or the program to start.
WAIT = 10.0
START_WAIT = 30.0
# Quiet time after the last expected utterance: anything said then belongs
# to the same key.
SETTLE = 0.3
CLOSE_WAIT = 30.0
UTTERANCE = re.compile(r"SPEECH OUTPUT: '(.*)'\s*(\{.*\}|\[.*\])?\s*$")


class Failure(Exception):
    pass


class Orca:
    """Orca with speech off; collects what it would have said."""

    def __init__(self, home, log):
        self.spoken = []
        self.log = log
        self._lock = threading.Lock()
        master, slave = pty.openpty()
        env = dict(os.environ, HOME=home, SPEECHD_CMD="/bin/false")
        # Opened on a terminal, Orca's debug file is written line by line.
        self.process = subprocess.Popen(
            ["orca", "--user-prefs", os.path.join(home, "orca"), "--debug-file=/dev/stdout"],
            stdin=subprocess.DEVNULL, stdout=slave, stderr=slave, env=env)
        os.close(slave)
        self._reader = threading.Thread(target=self._read, args=(master,), daemon=True)
        self._reader.start()

    def _read(self, master):
        pending = b""
        while True:
            try:
                chunk = os.read(master, 65536)
            except OSError:
                break
            if not chunk:
                break
            self.log.write(chunk)
            *lines, pending = (pending + chunk).split(b"\n")
            for line in lines:
                match = UTTERANCE.search(line.decode(errors="replace"))
                if match:
                    with self._lock:
                        self.spoken.append(match.group(1))
        os.close(master)

    def said(self):
        with self._lock:
            return list(self.spoken)

    def wait_for(self, what, start, expected, timeout=WAIT):
        """Waits until the utterances from index start on begin with
        expected (or, for None, until anything is said), then for SETTLE of
        quiet; returns all of them."""
        deadline = time.monotonic() + timeout

        def heard():
            said = self.said()[start:]
            return len(said) > 0 if expected is None else said[:len(expected)] == expected
        while not heard():
            if time.monotonic() > deadline:
                raise Failure(f"{what}: expected {expected}, heard {self.said()[start:]}")
            time.sleep(0.02)
        count = len(self.said())
        while True:
            time.sleep(SETTLE)
            if len(self.said()) == count:
                return self.said()[start:]
            count = len(self.said())

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self._reader.join(timeout=5)


def press(keys):
    subprocess.run(["xdotool", "key", *keys.split()], check=True)


def wait_for_window_manager():
    display = Xlib.display.Display()
    try:
        check = display.intern_atom("_NET_SUPPORTING_WM_CHECK")
        deadline = time.monotonic() + START_WAIT
        while display.screen().root.get_full_property(check, Xlib.X.AnyPropertyType) is None:
            if time.monotonic() > deadline:
                raise Failure("openbox did not start")
            time.sleep(0.05)
    finally:
        display.close()


class Session:
    def __init__(self, orca, model):
        self.orca = orca
        self.model = model
        self.steps = 0

    def step(self, keys, expected, exact=True):
        """Presses keys; Orca must say expected (exactly that, or at least
        that when not exact)."""
        self.steps += 1
        start = len(self.orca.said())
        press(keys)
        heard = self.orca.wait_for(keys, start, expected)
        if exact and heard != expected:
            raise Failure(f"{keys}: expected {expected}, heard {heard}")
        print(f"[ ok ] {keys}: {' | '.join(heard)}", flush=True)

    def silent(self, keys, pattern, seconds=1.0):
        """Presses keys; nothing matching pattern may be said."""
        self.steps += 1
        start = len(self.orca.said())
        press(keys)
        time.sleep(seconds)
        heard = self.orca.said()[start:]
        if any(re.search(pattern, u) for u in heard):
            raise Failure(f"{keys}: nothing like {pattern!r} expected, heard {heard}")
        print(f"[ ok ] {keys}: {' | '.join(heard)}", flush=True)

    def review(self, expected, tries=4):
        """Moves the flat review down line by line until it reads expected."""
        for _ in range(tries):
            start = len(self.orca.said())
            press("KP_Page_Up")
            heard = self.orca.wait_for("KP_Page_Up", start, None)
            if heard == [expected]:
                self.steps += 1
                print(f"[ ok ] KP_Page_Up: {expected}", flush=True)
                return
        raise Failure(f"flat review never read {expected!r}; last heard {heard}")

    def focus_speech(self, stop):
        """What Orca says when Tab brings the focus to stop."""
        if stop == "diagram":
            return ["tab "] + DIAGRAM
        for name, _, _, _, _, description in BOXES:
            if name == stop:
                state = "checked" if self.model.checked[name] else "not checked"
                return ["tab ", f"{name} check box {state}.", description]
        description = next(entry[4] for entry in LISTS if entry[0] == stop)
        return ["tab ", f"{list_label(description)} editable combo box.",
                f"{self.model.text[stop]}.", description]

    def run(self):
        # Every focus stop, back to the diagram.
        for stop in TAB_ORDER[1:] + TAB_ORDER[:1]:
            self.step("Tab", self.focus_speech(stop))

        # A toggle: the box's state, then the new word.
        self.step("Tab", self.focus_speech("AGPD"))
        self.model.set_box("AGPD", False)
        self.step("space", ["space ", "not checked", word_spoken("CFG1", self.model.word("CFG1")) + "."])

        # Picks with Down on the closed list: the first selects the shown
        # item, so only the word is new.
        self.step("Tab", self.focus_speech("AXG"))
        self.model.pick("AXG", 0)
        self.step("Down", [word_spoken("CFG0", self.model.word("CFG0")) + "."])
        self.model.pick("AXG", 1)
        self.step("Down", ["1.41", word_spoken("CFG0", self.model.word("CFG0")) + "."])

        # A pick in the popup, which opens with the field's name.
        label = list_label(next(entry[4] for entry in LISTS if entry[0] == "AXG"))
        self.step("alt+Down", ["left alt ", f"{label}.", "List with 4 items."])
        self.step("Down", ["2.0."])
        self.model.pick("AXG", 2)
        self.step("Return", ["return ", f"{label} editable combo box.", "2.0.",
                             "AXG: gain of the AUX IN amplifier (CFG0 D12–D11)", "2.0",
                             word_spoken("CFG0", self.model.word("CFG0")) + "."])

        # Typing picks nothing, so nothing is announced.
        self.silent("x Return", r"hex")

        # Flat review from the top left: each register's header, then its
        # cells and word.
        self.step("Insert+KP_Home", ["CFG0 register header"])
        for reg, header in (("CFG0", None), ("CFG1", "CFG1 register header")):
            if header:
                self.review(header)
            cells = [cell_spoken(reg, bit, self.model.bits[(reg, bit)]) for bit in range(15, -1, -1)]
            self.review(" ".join(cells + [word_spoken(reg, self.model.word(reg))]))


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
    orca = program = None
    session = None
    try:
        wait_for_window_manager()
        orca = Orca(home.name, debug_log)
        orca.wait_for("Orca starting", 0, ["Screen reader on."], timeout=START_WAIT)
        program = subprocess.Popen([args.program], stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
        # The window, then the diagram that has the focus.
        orca.wait_for("the window opening", 1, [f"{WINDOW_TITLE} frame."] + DIAGRAM, timeout=START_WAIT)
        session = Session(orca, Model())
        session.run()
    except Failure as failure:
        print(f"[FAIL] {failure}", flush=True)
        failed.append(str(failure))

    if program is not None:
        if program.poll() is not None:
            failed.append(f"the program ended during the run (exit status {program.returncode})")
        elif not close_window(program.pid):
            failed.append("the program's window cannot be found to close it")
        try:
            status = program.wait(timeout=CLOSE_WAIT)
            if status != 0:
                failed.append(f"the program exited with status {status} after its window was closed")
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()
            failed.append(f"the program still ran {CLOSE_WAIT} s after its window was closed")
    if orca is not None:
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
    steps = session.steps if session else 0
    print(f"orca: {steps} steps, {len(failed)} failed, {time.monotonic() - started:.1f} s "
          f"(utterances in {os.path.abspath('orca-speech.log')})")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
