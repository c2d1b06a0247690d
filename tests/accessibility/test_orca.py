"""The window under the Orca screen reader, driven with real keys: what a
user hears at each focus stop, after a toggle, a pick with Down on the
closed list and one in the popup, after typing (nothing), and in Orca's
flat review of the register rows.

Orca runs with speech off beside the desktop's window manager. Each utterance
it would say is a SPEECH OUTPUT line of its debug output, read through a
pseudo-terminal so that Orca writes it line by line. After each key the
words a user must hear are awaited in order; how an Orca release splits
them into utterances and punctuates them is not the user's concern. The
utterances go to orca-speech.log in the working directory, and Orca's whole
debug output to orca-debug.log. The tests run in order,
each from where the one before left the focus.
"""

import contextlib
import itertools
import os
import pty
import re
import subprocess
import tempfile
import threading
import time

import pytest

from desktop import START_WAIT, poll, window_manager_running
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


def begins(heard, expected):
    """Whether something was heard and its words begin with a way of saying
    expected."""
    said = tuple(words(heard))
    return bool(heard) and any(said[:len(way)] == way for way in ways(expected))


def said_as(heard, expected):
    """Whether the words heard are one way of saying expected."""
    return tuple(words(heard)) in ways(expected)


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

    def heard(self, start, expected=(), timeout=SPEECH_WAIT):
        """The utterances from start on, once something was said that begins
        with expected (or timeout has passed) and SETTLE of quiet followed."""
        poll(lambda: self.said(start), lambda heard: begins(heard, expected), timeout)
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


def press(keys):
    subprocess.run(["xdotool", "key", *keys.split()], check=True)


def says(orca, keys, expected):
    """Pressing keys makes Orca say expected's words, in order, and no more."""
    start = len(orca.said())
    press(keys)
    assert said_as(orca.heard(start, expected), expected), keys


@pytest.fixture(scope="module")
def screen_reader():
    """Orca, once it says it is on, beside the desktop's window manager;
    it ends after the module, after the program."""
    assert window_manager_running(), "no window manager on the desktop"
    with tempfile.TemporaryDirectory() as home, open("orca-debug.log", "wb") as log:
        orca = Orca(home, log)
        try:
            # Orca ends at once if another Orca of the same user runs.
            assert begins(orca.heard(0, ["Screen reader on"], START_WAIT), ["Screen reader on"]), \
                "Orca not on: see orca-debug.log"
            yield orca
        finally:
            orca.stop()
            with open("orca-speech.log", "w", encoding="utf-8") as transcript:
                transcript.writelines(u + "\n" for u in orca.said())


@pytest.fixture
def orca(screen_reader, program):
    """Orca beside the running program."""
    return screen_reader


@pytest.fixture(scope="module")
def model():
    return Model()


def on_focus(model, stop):
    """What Orca says when Tab brings the focus to stop."""
    if stop == "diagram":
        return ["tab", DIAGRAM_NAME, "image", DIAGRAM_DESCRIPTION]
    field = FIELDS[stop]
    if field.is_box:
        state = "checked" if model.checked[stop] else "not checked"
        return ["tab", f"{stop} check box {state}", box_description(field)]
    # Orca 48 says the combo box's name, which Qt makes its text, too.
    text = model.text[stop]
    return ["tab", list_label(field), maybe(text), "editable combo box", text, list_description(field)]


def word(model, reg):
    return word_spoken(reg, model.word(reg))


def test_window_opens_with_the_focus_on_the_diagram(orca):
    expected = [f"{TITLE} frame", DIAGRAM_NAME, "image", DIAGRAM_DESCRIPTION]
    assert said_as(orca.heard(1, expected, START_WAIT), expected)


@pytest.mark.parametrize("stop", TAB_ORDER[1:] + TAB_ORDER[:1])
def test_tab_says_the_focus_stop(orca, model, stop):
    says(orca, "Tab", on_focus(model, stop))


def test_space_says_the_state_and_the_word(orca, model):
    says(orca, "Tab", on_focus(model, "AGPD"))
    model.set_box("AGPD", False)
    says(orca, "space", ["space", "not checked", word(model, "CFG1")])


def test_down_on_the_closed_list_says_the_item_and_the_word(orca, model):
    axg = FIELDS["AXG"]
    says(orca, "Tab", on_focus(model, axg.name))
    # The first Down picks the item shown, so only the word is new.
    model.pick(axg.name, 0)
    says(orca, "Down", [word(model, axg.register)])
    model.pick(axg.name, 1)
    says(orca, "Down", [axg.items[1], word(model, axg.register)])


def test_popup_pick_says_the_item_and_the_word(orca, model):
    axg = FIELDS["AXG"]
    # The popup opens: Orca 43 says its name (the field's) and its size,
    # Orca 48 the highlighted item.
    says(orca, "alt+Down", ["left alt", one_of(f"{list_label(axg)} List with {len(axg.items)} items",
                                               axg.items[1])])
    says(orca, "Down", [axg.items[2]])
    # Return picks; Orca 43 says the item once more.
    model.pick(axg.name, 2)
    says(orca, "Return", ["return", list_label(axg), maybe(axg.items[2]), "editable combo box",
                          axg.items[2], list_description(axg), maybe(axg.items[2]),
                          word(model, axg.register)])


def test_typing_says_no_word(orca):
    start = len(orca.said())
    press("x Return")
    time.sleep(1.0)
    assert "hex" not in words(orca.said(start))


@pytest.mark.parametrize("reg", REGISTERS)
def test_flat_review_reads_the_register_row(orca, model, reg):
    """Flat review from the top left: each header, then its register's cells
    and word."""
    header = f"{reg} register header"
    if reg == REGISTERS[0]:
        # Orca 48 echoes the Insert key.
        says(orca, "Insert+KP_Home", [maybe("insert"), header])
    else:
        review_to(orca, header)
    cells = [cell_spoken(reg, bit, model.bits[(reg, bit)]) for bit in range(15, -1, -1)]
    review_to(orca, " ".join(cells + [word(model, reg)]))


def review_to(orca, line, tries=4):
    """Moves Orca's flat review down line by line until it reads line."""
    for _ in range(tries):
        start = len(orca.said())
        press("KP_Page_Up")
        if said_as(orca.heard(start), [line]):
            return
    pytest.fail(f"flat review never read {line!r}")
