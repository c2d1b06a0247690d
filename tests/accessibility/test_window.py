#!/usr/bin/python3
"""Drives the running window through AT-SPI, as a screen reader does.

Run by CTest inside xvfb-run and dbus-run-session: starts the program on
that display and session, where the AT-SPI bus starts on demand. Finds the
application, its frame, the check boxes (by name), the lists (by
description), the bit cells and the two words (by the names they are spoken
by, which carry their values); reads the cells and words through the Text
interface; toggles boxes through the Action interface; picks list items with
keys synthesised through the registry; walks the tab order with Tab and
Shift+Tab. After every action the whole window is compared with a model of
the registers kept here: all 32 cells and both words (text and spoken name),
every box's checked state and every list's text, polled until they agree or
WAIT runs out. After every edit the edited register's word must be announced
once, and after typing nothing.

With --language ru the program's explanations are expected in Russian, as
its translation file gives them. At the end closes the window as a user does and expects the program to
exit with status 0. Prints one line a case and exits non-zero when any case
fails.
"""

import argparse
import pathlib
import subprocess
import sys
import tempfile
import time
import traceback
import xml.etree.ElementTree

import gi
import Xlib.display
import Xlib.protocol.event
import Xlib.X

gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402
from gi.repository import GLib  # noqa: E402

APP_NAME = "isd5116-config"
WINDOW_TITLE = "Программа установки Конфигурационных бит для микросхемы ISD5116"
DIAGRAM_NAME = "Signal-path diagram"
REGISTERS = ("CFG0", "CFG1")
# Longest wait for any expected change; the words follow a cell within a
# few milliseconds, the program starts within a second or two.
WAIT = 3.0
START_WAIT = 20.0
# How long the program may take to exit once its window is closed; a
# sanitizer build checks for leaks then.
CLOSE_WAIT = 30.0
# How long a state must hold to show that an action changed nothing.
HOLD = 0.15
# A broken build fails case after case, each after WAIT: stop after this many.
MAX_FAILURES = 20

# The check boxes: field name, register, bit, checked at start, the bit's
# value when the box is checked, what the field sets, what its bit at 1 means.
BOXES = [
    ("AGPD", "CFG1", 0, True, 0, "AGC amplifier power", "powered down"),
    ("AXPD", "CFG0", 10, True, 0, "AUX IN amplifier power", "powered down"),
    ("AIPD", "CFG0", 13, True, 0, "ANA IN amplifier power", "powered down"),
    ("INS0", "CFG0", 9, False, 1, "input source", "AUX IN instead of MIC IN"),
    ("FLS0", "CFG1", 4, False, 1, "filter input", "ARRAY instead of SUM1"),
    ("FLPD", "CFG1", 1, True, 0, "low-pass filter power", "powered down"),
    ("VLPD", "CFG0", 0, True, 0, "volume control power", "powered down"),
    ("AOPD", "CFG0", 5, True, 0, "analog output amplifier power", "powered down"),
]

# The lists: field name, register, high bit, width, what the field sets,
# items. The selected index is the field's value.
LISTS = [
    ("AXG", "CFG0", 12, 2, "gain of the AUX IN amplifier", ["1.0", "1.41", "2.0", "2.82"]),
    ("AIG", "CFG0", 15, 2, "gain of the ANA IN amplifier", ["0.625", "0.883", "1.250", "1.767"]),
    ("S1S", "CFG1", 10, 2, "source of the SUM1 multiplexer", ["ANA IN", "ARRAY", "FILTO"]),
    ("S1M", "CFG1", 8, 2, "inputs mixed by the SUM1 amplifier", ["SUM1 & INP", "SUM1", "INP", "Выкл"]),
    ("VLS", "CFG1", 15, 2, "source of the volume multiplexer", ["ANA IN", "SUM2", "SUM1", "INP"]),
    ("FLD", "CFG1", 3, 2, "frequency of the low-pass filter", ["8кГц", "6,4кГц", "5,3кГц", "4кГц"]),
    ("S2M", "CFG1", 6, 2, "inputs mixed by the SUM2 amplifier", ["ANA & FILTO", "ANA IN", "FILTO", "Выкл"]),
    ("VOL", "CFG1", 13, 3, "volume step",
     ["0-дб", "4-дб", "8-дб", "12-дб", "16-дб", "20-дб", "24-дб", "28-дб"]),
    ("AOS", "CFG0", 8, 3, "source of the analog output multiplexer",
     ["FTHRU", "INP", "VOL", "FILTO", "SUM1", "SUM2"]),
    ("OPS", "CFG0", 4, 2, "source of the output multiplexer", ["VOL", "ANA IN", "FILTO", "SUM2"]),
    ("OPA", "CFG0", 2, 2, "output amplifier: off, speaker or AUX OUT",
     ["Выкл", "SP/3,6V/150ом", "SP/23,5mW/8ом", "AUX OUT"]),
]

# The register each box and list edits.
REGISTER_OF = {name: reg for name, reg, *_ in BOXES + LISTS}

# Focus stops in tab order: the diagram, then boxes and lists by field name.
TAB_ORDER = ["diagram", "AGPD", "AXG", "AXPD", "AIPD", "AIG", "INS0", "S1S", "S1M", "FLS0",
             "VLS", "FLD", "FLPD", "S2M", "VLPD", "VOL", "AOS", "OPS", "AOPD", "OPA"]

# Words documented for one change from the start state: (control, checked
# state or picked index) -> (register, word).
DOCUMENTED_WORDS = {
    ("AGPD", False): ("CFG1", "1"),
    ("AXPD", False): ("CFG0", "400"),
    ("INS0", True): ("CFG0", "200"),
    ("AOS", 5): ("CFG0", "140"),
    ("AOS", 2): ("CFG0", "80"),
    ("VLS", 1): ("CFG1", "4000"),
    ("OPA", 3): ("CFG0", "6"),
}

# Picks in the opened popup: list, action that opens it, Down presses from
# the first item, then Return (a pick) or Escape (no pick).
POPUP_PICKS = [
    ("AOS", "ShowMenu", 5, "Return"),
    ("VLS", "Press", 1, "Return"),
    ("OPA", "ShowMenu", 3, "Return"),
    ("VOL", "Press", 7, "Return"),
    ("FLD", "ShowMenu", 2, "Escape"),
]

# Text typed into a list's field, ending with Return: it must select nothing.
TYPED = [("AOS", "SUM2"), ("VLS", "SUM1"), ("OPA", "AUX OUT"), ("S1S", "FILTO")]

KEYSYMS = {"Tab": 0xFF09, "Return": 0xFF0D, "Escape": 0xFF1B, "Up": 0xFF52, "Down": 0xFF54,
           "space": 0x0020, "a": 0x0061}
SHIFT_MASK = 1
CONTROL_MASK = 4


class Failure(Exception):
    """A case's expectation not met."""


class Fatal(Exception):
    """The window cannot be reached or read: no further case can run."""


def bit_name(bit, field, high, width):
    return field if width == 1 else f"{field}{bit - (high - width + 1)}"


def cell_spoken(reg, bit, value):
    return f"{CELLS[(reg, bit)][0]}, {reg} D{bit}: {value}"


# The program's English texts in the language under test, from its .ts file
# (--language); empty for English.
TRANSLATIONS = {}


def load_translations(language):
    ts = pathlib.Path(__file__).resolve().parents[2] / "translations" / f"isd5116-config_{language}.ts"
    for message in xml.etree.ElementTree.parse(ts).getroot().iter("message"):
        TRANSLATIONS[message.findtext("source")] = message.findtext("translation")


def tr(text):
    return TRANSLATIONS.get(text, text)


def arg(text, *args):
    """Fills %1, %2, ... as Qt's QString::arg does."""
    for number, value in enumerate(args, 1):
        text = text.replace(f"%{number}", str(value))
    return text


def bits(reg, high, width):
    return f"{reg} D{high}" if width == 1 else f"{reg} D{high}–D{high - width + 1}"


def box_description(entry):
    _, reg, bit, _, one_when_checked, purpose, one_means = entry
    if one_when_checked == 0:
        return arg(tr("%1: checked means powered (%2 %3)"), tr(purpose), reg, f"D{bit}")
    return arg(tr("%1: checked selects %2 (%3 %4)"), tr(purpose), tr(one_means), reg, f"D{bit}")


def list_description(entry):
    name, reg, high, width, purpose, _ = entry
    return f"{name}: {tr(purpose)} ({bits(reg, high, width)})"


def list_label(entry):
    """What a list is announced by: "AXG, gain of the AUX IN amplifier"."""
    return f"{entry[0]}, {tr(entry[4])}"


def cell_description(reg, bit):
    stem, field, high, width = CELLS[(reg, bit)]
    if width == 1:
        _, _, _, _, _, purpose, one_means = next(b for b in BOXES if b[0] == field)
        return arg(tr("%1, %2: 1 means %3"), stem, tr(purpose), tr(one_means))
    purpose = next(entry[4] for entry in LISTS if entry[0] == field)
    return arg(tr("%1, bit %2 of %3: %4"), stem, bit - (high - width + 1), field, tr(purpose))


def word_spoken(reg, word):
    return arg(tr("%1 hex %2"), reg, word)


def all_cells():
    """(register, bit) -> (bit name, field name, high bit, width); the
    tables above must cover each of the 32 bits exactly once."""
    fields = [(name, reg, bit, 1) for name, reg, bit, *_ in BOXES]
    fields += [(name, reg, high, width) for name, reg, high, width, *_ in LISTS]
    cells = {}
    for name, reg, high, width in fields:
        for bit in range(high - width + 1, high + 1):
            if (reg, bit) in cells:
                raise SystemExit(f"test tables: {reg} D{bit} is in {cells[(reg, bit)][1]} and {name}")
            cells[(reg, bit)] = (bit_name(bit, name, high, width), name, high, width)
    if sorted(cells) != sorted((reg, bit) for reg in REGISTERS for bit in range(16)):
        raise SystemExit("test tables: the fields do not cover every bit of CFG0 and CFG1")
    return cells


CELLS = all_cells()


def pump():
    """Lets pending AT-SPI events reach their listeners."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def key(name, modifiers=0):
    """Synthesises a key press and release through the registry."""
    registry = pyatspi.Registry
    if modifiers:
        registry.generateKeyboardEvent(modifiers, None, pyatspi.KEY_LOCKMODIFIERS)
    try:
        registry.generateKeyboardEvent(KEYSYMS[name], None, pyatspi.KEY_SYM)
    finally:
        if modifiers:
            registry.generateKeyboardEvent(modifiers, None, pyatspi.KEY_UNLOCKMODIFIERS)


def type_text(text):
    pyatspi.Registry.generateKeyboardEvent(0, text, pyatspi.KEY_STRING)


def action_names(obj):
    try:
        action = obj.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def do_action(obj, name):
    names = action_names(obj)
    if name not in names:
        raise Failure(f"{describe(obj)} has no {name!r} action (it has {names})")
    if not obj.queryAction().doAction(names.index(name)):
        raise Failure(f"{describe(obj)}: the {name!r} action was refused")


def has_state(obj, state):
    obj.clearCache()
    return obj.getState().contains(state)


def describe(obj):
    return f"{obj.getRoleName()} {obj.name!r} ({obj.description!r})"


def descendants(obj):
    for i in range(obj.childCount):
        child = obj.getChildAtIndex(i)
        if child is not None:
            yield child
            yield from descendants(child)


class Model:
    """What the window should show: cells, words, boxes and list texts."""

    def __init__(self):
        self.bits = {cell: 0 for cell in CELLS}
        self.checked = {name: start for name, _, _, start, *_ in BOXES}
        self.text = {name: items[0] for name, *_, items in LISTS}
        self.index = {name: -1 for name, *_ in LISTS}

    def set_box(self, name, checked):
        _, reg, bit, _, one_when_checked, *_ = next(b for b in BOXES if b[0] == name)
        self.checked[name] = checked
        self.bits[(reg, bit)] = one_when_checked if checked else 1 - one_when_checked

    def pick(self, name, index):
        _, reg, high, width, _, items = next(entry for entry in LISTS if entry[0] == name)
        self.index[name] = index
        self.text[name] = items[index]
        for bit in range(high - width + 1, high + 1):
            self.bits[(reg, bit)] = (index >> (bit - (high - width + 1))) & 1

    def word(self, reg):
        return format(sum(self.bits[(reg, bit)] << bit for bit in range(16)), "X")

    def expected(self):
        """Cells ("CFG0 D13") and words ("CFG0") as (text, spoken name)."""
        state = {f"{reg} D{bit}": (str(v), cell_spoken(reg, bit, v)) for (reg, bit), v in self.bits.items()}
        state.update({reg: (self.word(reg), word_spoken(reg, self.word(reg))) for reg in REGISTERS})
        state.update({f"box {name}": checked for name, checked in self.checked.items()})
        state.update({f"list {name}": text for name, text in self.text.items()})
        return state

    def resync(self, seen):
        """Takes over what the window shows, after a failed case."""
        for reg, bit in CELLS:
            self.bits[(reg, bit)] = 1 if seen.get(f"{reg} D{bit}", ("",))[0] == "1" else 0
        for name in self.checked:
            self.checked[name] = bool(seen.get(f"box {name}"))
        for name in self.text:
            self.text[name] = seen.get(f"list {name}", self.text[name])


class Window:
    """The program's window as AT-SPI shows it."""

    def __init__(self, pid):
        self.pid = pid
        self.focus_events = []
        self.announcements = []
        self.renamed = []
        self.app = self._find_application()
        self.frame = None
        self.boxes = {}
        self.lists = {}
        self.edits = {}
        self.values = {}   # cells ("CFG0 D13") and words ("CFG0")
        self.diagram = None
        self.announcer = None
        self.texts = {}

    def _on_focus(self, event):
        if event.detail1:
            self.focus_events.append(event.source)

    def _on_showing(self, event):
        if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            self.announcements.append(event.source.name)

    def _on_renamed(self, event):
        self.renamed.append(event.source)

    def _find_application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        deadline = time.monotonic() + START_WAIT
        while time.monotonic() < deadline:
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.name == APP_NAME and app.childCount > 0:
                    return app
            time.sleep(0.05)
        names = [desktop.getChildAtIndex(i).name for i in range(desktop.childCount)]
        raise Fatal(f"no application {APP_NAME!r} on the accessibility bus after "
                    f"{START_WAIT} s; applications: {names}")

    def find_frame(self):
        frames = [self.app.getChildAtIndex(i) for i in range(self.app.childCount)]
        matches = [f for f in frames if f is not None and f.name == WINDOW_TITLE]
        if len(matches) != 1:
            raise Fatal(f"expected one window titled {WINDOW_TITLE!r}, found "
                        f"{[f.name for f in frames if f is not None]}")
        self.frame = matches[0]
        objects = list(descendants(self.frame))

        def by(role, kind, attribute, value):
            found = [o for o in objects if o.getRole() == role and getattr(o, attribute) == value]
            if len(found) != 1:
                raise Fatal(f"expected one {kind} with {attribute} {value!r}, found {len(found)}")
            return found[0]

        for name, *_ in BOXES:
            self.boxes[name] = by(pyatspi.ROLE_CHECK_BOX, "check box", "name", name)
        for entry in LISTS:
            name = entry[0]
            self.lists[name] = by(pyatspi.ROLE_COMBO_BOX, "combo box", "description", list_description(entry))
            edits = [c for c in descendants(self.lists[name]) if c.getRole() == pyatspi.ROLE_TEXT]
            if len(edits) != 1:
                raise Fatal(f"the {name} list has {len(edits)} text fields, expected one")
            self.edits[name] = edits[0]
        labels = [o for o in objects if o.getRole() == pyatspi.ROLE_LABEL]
        for (reg, bit), (name, *_) in CELLS.items():
            self.values[f"{reg} D{bit}"] = self._one(labels, f"{name}, {reg} D{bit}: ")
        for reg in REGISTERS:
            self.values[reg] = self._one(labels, word_spoken(reg, ""))
        self.diagram = self._one(objects, tr(DIAGRAM_NAME))
        self.announcer = self._one([o for o in objects if o.getRole() == pyatspi.ROLE_NOTIFICATION], "")
        # Listening starts once the program has answered for its whole tree:
        # a listener registered while its accessibility bridge starts up
        # may never be told to the program, which then sends no events.
        pyatspi.Registry.registerEventListener(self._on_focus, "object:state-changed:focused")
        pyatspi.Registry.registerEventListener(self._on_showing, "object:state-changed:showing")
        pyatspi.Registry.registerEventListener(self._on_renamed, "object:property-change:accessible-name")

    def query_texts(self):
        """The Text interface of every cell and word; the names of those without."""
        missing = []
        for name, obj in self.values.items():
            try:
                self.texts[name] = obj.queryText()
            except NotImplementedError:
                missing.append(name)
        return missing

    @staticmethod
    def _one(objects, name_start):
        found = [o for o in objects if o.name.startswith(name_start)]
        if len(found) != 1:
            raise Fatal(f"expected one object named {name_start!r}..., found {len(found)}")
        return found[0]

    def control(self, key_):
        if key_ == "diagram":
            return self.diagram
        return self.boxes.get(key_) or self.lists[key_]

    def activate(self):
        """Clicks the CFG0 header, as a user clicks into a new window (no
        window manager activates it here)."""
        name = arg(tr("%1 register header"), "CFG0")
        header = [o for o in descendants(self.frame) if o.name == name]
        if not header:
            raise Fatal(f"no {name!r} to click into the window")
        box = header[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, "b1c")
        deadline = time.monotonic() + WAIT
        while not has_state(self.frame, pyatspi.STATE_ACTIVE):
            if time.monotonic() > deadline:
                raise Fatal("the window did not become active after a click into it")
            time.sleep(0.01)

    def seen(self):
        state = {key: (text.getText(0, -1), self.values[key].name) for key, text in self.texts.items()}
        for name, box in self.boxes.items():
            state[f"box {name}"] = has_state(box, pyatspi.STATE_CHECKED)
        for name, combo in self.lists.items():
            combo.clearCache()
            state[f"list {name}"] = combo.name
        return state

    def focused(self):
        return [k for k in TAB_ORDER if has_state(self.control(k), pyatspi.STATE_FOCUSED)]

    def focus_list(self, name):
        """Gives a list the keyboard focus through Component.grabFocus: on the
        combo box, or, as Qt 6.4's combo box has no SetFocus action, on its
        edit field."""
        combo = self.lists[name]
        if not combo.queryComponent().grabFocus():
            if not self.edits[name].queryComponent().grabFocus():
                raise Failure(f"the {name} list refused grabFocus, and so did its edit field")
        wait_for(f"focus on the {name} list", self.focused, [name])


def wait_for(what, probe, expected, timeout=WAIT):
    deadline = time.monotonic() + timeout
    while True:
        pump()
        value = probe()
        if value == expected:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"{what}: expected {expected!r}, saw {value!r} after {timeout} s")
        time.sleep(0.005)


def differences(expected, seen):
    return "; ".join(f"{k}: expected {expected[k]!r}, saw {seen.get(k)!r}"
                     for k in expected if seen.get(k) != expected[k])


class Run:
    def __init__(self, window):
        self.window = window
        self.model = Model()
        self.cases = 0
        self.failed = []

    def case(self, group, name, body):
        self.cases += 1
        started = time.monotonic()
        try:
            body()
        except Fatal:
            raise
        except Failure as failure:
            self._fail(group, name, str(failure))
        except Exception:  # an AT-SPI error is a failed case too
            self._fail(group, name, traceback.format_exc().strip().splitlines()[-1])
        else:
            print(f"[ ok ] {group}: {name} ({(time.monotonic() - started) * 1000:.0f} ms)",
                  flush=True)

    def _fail(self, group, name, message):
        self.failed.append(f"{group}: {name}")
        print(f"[FAIL] {group}: {name}: {message}", flush=True)
        if len(self.failed) >= MAX_FAILURES:
            raise Fatal(f"stopped after {MAX_FAILURES} failed cases")
        if self.window.texts:
            try:
                self.model.resync(self.window.seen())
            except Exception as error:
                raise Fatal(f"the window cannot be read any more: {error}") from None

    def expect_window(self, what):
        """Polls until the whole window matches the model."""
        expected = self.model.expected()
        deadline = time.monotonic() + WAIT
        while True:
            pump()
            seen = self.window.seen()
            if seen == expected:
                return
            if time.monotonic() > deadline:
                raise Failure(f"{what}: {differences(expected, seen)}")
            time.sleep(0.005)

    def expect_unchanged(self, what):
        """The window matches the model, and keeps matching for HOLD, with
        nothing announced since the case began."""
        self.expect_window(what)
        until = time.monotonic() + HOLD
        while time.monotonic() < until:
            pump()
            seen = self.window.seen()
            if seen != self.model.expected():
                raise Failure(f"{what}: changed: {differences(self.model.expected(), seen)}")
            time.sleep(0.01)
        if self.window.announcements:
            raise Failure(f"{what}: announced {self.window.announcements}")

    def begin(self):
        """Forgets the announcements and renamings seen before a case."""
        pump()
        self.window.announcements.clear()
        self.window.renamed.clear()

    def expect_edit(self, what, edited, repeats=False):
        """The window matches the model, and the edited register's word has
        been announced once since the case began (or, with repeats, at least
        once and nothing else)."""
        self.expect_window(what)
        reg = REGISTER_OF[edited]
        word = word_spoken(reg, self.model.word(reg))
        if repeats:
            wait_for(f"{what}: announcement", lambda: set(self.window.announcements), {word})
        else:
            wait_for(f"{what}: announcement", lambda: self.window.announcements, [word])

    def expect_documented(self, key_):
        if key_ in DOCUMENTED_WORDS:
            reg, word = DOCUMENTED_WORDS[key_]
            seen = self.window.texts[reg].getText(0, -1)
            if seen != word:
                raise Failure(f"{reg} word after {key_}: expected {word!r}, saw {seen!r}")

    def expect_focus_move(self, keyname, modifiers, target):
        """Presses a key and checks that focus, and a focus event, reach target."""
        self.window.focus_events.clear()
        key(keyname, modifiers)
        pressed = ("Shift+" if modifiers & SHIFT_MASK else "") + keyname
        wait_for(f"focus after {pressed}", self.window.focused, [target])
        obj = self.window.control(target)
        wait_for(f"focus event for {target}", lambda: obj in self.window.focus_events, True)
        # What a screen reader speaks on the focus event.
        spoken = obj.name if obj.getRole() == pyatspi.ROLE_CHECK_BOX else obj.description
        if not spoken:
            raise Failure(f"the focused {target} has nothing to speak")

    # --- groups -------------------------------------------------------------

    def discovery(self):
        g = "discovery"
        w = self.window

        def application():
            if w.app.get_process_id() != w.pid:
                raise Failure(f"application pid {w.app.get_process_id()}, program pid {w.pid}")

        def frame():
            if w.frame.getRole() not in (pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW,
                                         pyatspi.ROLE_DIALOG):
                raise Failure(f"the window {WINDOW_TITLE!r} has role {w.frame.getRoleName()!r}; "
                              f"screen readers take a frame, window or dialog as a top level")

        def texts():
            missing = w.query_texts()
            if missing:
                raise Failure(f"{len(missing)} of 34 offer no Text interface, so a screen reader "
                              f"cannot read their values: {', '.join(missing)}")

        self.case(g, f"application {APP_NAME!r} is the started program", application)
        self.case(g, "window titled with the window title, every control found", w.find_frame)
        self.case(g, "the window is a frame", frame)
        self.case(g, "every cell and word is read through the Text interface", texts)
        for name, obj in w.values.items():
            def check(obj=obj):
                if obj.getRole() != pyatspi.ROLE_LABEL:
                    raise Failure(f"role {obj.getRoleName()!r}")
                if not has_state(obj, pyatspi.STATE_SHOWING):
                    raise Failure("not showing")
            self.case(g, f"{name} is a showing label", check)

        # A frame inside the window would be taken for a window of its own,
        # and a screen reader's review of it would never reach the registers.
        def diagram():
            if w.diagram.getRole() != pyatspi.ROLE_IMAGE:
                raise Failure(f"role {w.diagram.getRoleName()!r}")

        # Inside a status bar a screen reader says an announcement without
        # the word "notification".
        def announcer():
            if w.announcer.parent.getRole() != pyatspi.ROLE_STATUS_BAR:
                raise Failure(f"in a {w.announcer.parent.getRoleName()!r}")
        self.case(g, "the diagram is an image", diagram)
        self.case(g, "announcements come from a notification in a status bar", announcer)

    def descriptions(self):
        g = "descriptions"
        w = self.window
        for entry in BOXES:
            name = entry[0]

            def box(obj=w.boxes[name], description=box_description(entry)):
                if obj.description != description:
                    raise Failure(f"description {obj.description!r}, expected {description!r}")
            self.case(g, f"box {name}", box)
        for entry in LISTS:
            name, *_, items = entry

            def combo(obj=w.lists[name], items=items):
                shown = [o.name for o in descendants(obj) if o.getRole() == pyatspi.ROLE_LIST_ITEM]
                if shown != items:
                    raise Failure(f"list items {shown}, expected {items}")
            self.case(g, f"list {name} (found by it) offers its items", combo)

            # Announced by the field first, on Linux through a label (Qt
            # names an editable combo box by its text); its popup too.
            def label(obj=w.lists[name], label=list_label(entry)):
                by = [r for r in obj.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
                names = [(t.getRoleName(), t.name) for r in by for t in [r.getTarget(0)]]
                if names != [("label", label)]:
                    raise Failure(f"labelled by {names}, expected the label {label!r}")
                popup = [o.name for o in descendants(obj) if o.getRole() == pyatspi.ROLE_LIST]
                if popup != [label]:
                    raise Failure(f"popup named {popup}, expected {label!r}")
            self.case(g, f"list {name} is labelled with its field", label)
        for reg, bit in CELLS:
            def cell(obj=w.values[f"{reg} D{bit}"], expected=cell_description(reg, bit)):
                if obj.description != expected:
                    raise Failure(f"description {obj.description!r}, expected {expected!r}")
            self.case(g, f"cell {reg} D{bit}", cell)
        for reg in REGISTERS:
            def word(obj=w.values[reg], reg=reg):
                if reg not in obj.description:
                    raise Failure(f"description {obj.description!r} does not name {reg}")
            self.case(g, f"word {reg}", word)

        def diagram():
            if not w.diagram.description:
                raise Failure("empty description")
        self.case(g, "diagram", diagram)

    def start_state(self):
        g = "start"
        w = self.window
        if len(w.texts) != len(CELLS) + len(REGISTERS):
            raise Fatal("the cells and words cannot be read")
        self.case(g, "all 32 cells '0', both words '0', boxes and lists as designed",
                  lambda: self.expect_window("start state"))

        def first_focus():
            w.focus_events.clear()
            w.activate()
            wait_for("focus when the window is activated", w.focused, ["diagram"])
            wait_for("focus event for the diagram", lambda: w.diagram in w.focus_events, True)
        self.case(g, "activated window has the focus on the diagram", first_focus)

    def keyboard(self):
        g = "keyboard"
        # Forward through the whole order and back to the diagram; each box
        # toggled with Space and back.
        order = TAB_ORDER[1:] + TAB_ORDER[:1]
        previous = "diagram"
        for target in order:
            def forward(target=target):
                self.expect_focus_move("Tab", 0, target)
            self.case(g, f"Tab from {previous} to {target}", forward)
            previous = target
            if target in self.window.boxes:
                for step in ("toggles", "toggles back"):
                    def space(target=target):
                        self.begin()
                        self.model.set_box(target, not self.model.checked[target])
                        key("space")
                        self.expect_edit(f"Space on {target}", target)
                    self.case(g, f"Space on {target} {step}", space)
        for target in reversed(TAB_ORDER):
            def backward(target=target):
                self.expect_focus_move("Tab", SHIFT_MASK, target)
            self.case(g, f"Shift+Tab from {previous} to {target}", backward)
            previous = target

    def toggles(self):
        g = "toggle action"
        w = self.window
        for name, reg, bit, *_ in BOXES:
            for step in ("toggles", "toggles back"):
                def toggle(name=name, reg=reg, bit=bit, step=step):
                    self.begin()
                    checked = not self.model.checked[name]
                    self.model.set_box(name, checked)
                    do_action(w.boxes[name], "Toggle")
                    self.expect_edit(f"Toggle on {name}", name)
                    # Screen readers keep names until told of a change.
                    for key_ in (f"{reg} D{bit}", reg):
                        if w.values[key_] not in w.renamed:
                            raise Failure(f"no name-change event from {key_}")
                    if step == "toggles":
                        self.expect_documented((name, checked))
                self.case(g, f"{name} {step}", toggle)

        # All at once, then all back.
        for step in ("all boxes toggled in turn", "all boxes toggled back"):
            def every(step=step):
                for name, *_ in BOXES:
                    self.model.set_box(name, not self.model.checked[name])
                    do_action(w.boxes[name], "Toggle")
                self.expect_window(step)
            self.case(g, step, every)

    def picks(self):
        g = "keys on a list"
        w = self.window
        for name, *_, items in LISTS:
            def focus(name=name):
                w.focus_list(name)
            self.case(g, f"{name} takes the focus", focus)
            # Down from no selection selects the first item, then each next.
            for index, item in enumerate(items):
                def down(name=name, index=index, item=item):
                    self.begin()
                    self.model.pick(name, index)
                    key("Down")
                    self.expect_edit(f"Down to {name} {item!r}", name)
                    self.expect_documented((name, index))
                self.case(g, f"Down picks {name} {index} {item!r}", down)
            for index in range(len(items) - 2, -1, -1):
                def up(name=name, index=index, item=items[index]):
                    self.begin()
                    self.model.pick(name, index)
                    key("Up")
                    self.expect_edit(f"Up to {name} {item!r}", name)
                self.case(g, f"Up picks {name} {index} {items[index]!r}", up)

    def popup(self):
        g = "popup"
        w = self.window
        for name, action, downs, ending in POPUP_PICKS:
            items = next(entry[-1] for entry in LISTS if entry[0] == name)
            start = self.model.index[name]

            def pick(name=name, action=action, downs=downs, ending=ending, start=start,
                     items=items):
                combo = w.lists[name]
                w.focus_list(name)
                self.begin()
                do_action(combo, action)
                wait_for(f"{name} popup open", lambda: has_state(combo, pyatspi.STATE_EXPANDED), True)
                # One key at a time, as a user reads each item: Qt's popup
                # picks on the Return it sees first, even before earlier
                # keys are handled.
                for index in range(start + 1, downs + 1):
                    key("Down")
                    wait_for(f"{name} popup at {items[index]!r}",
                             lambda: [o.name for o in w.focus_events[-1:]], [items[index]])
                key(ending)
                wait_for(f"{name} popup closed", lambda: has_state(combo, pyatspi.STATE_EXPANDED),
                         False)
                if ending == "Return":
                    self.model.pick(name, downs)
                    # Slowed down (the sanitizer build), Qt 6.4's popup may
                    # take one Return for two picks of the same item.
                    self.expect_edit(f"{name} picked in the popup", name, repeats=True)
                    self.expect_documented((name, downs))
                else:
                    self.expect_unchanged(f"{name} popup closed with {ending}")

            outcome = f"picks {items[downs]!r}" if ending == "Return" else "picks nothing"
            self.case(g, f"{action} on {name}, Down x{downs - start}, {ending} {outcome}", pick)

            def restore(name=name):
                w.focus_list(name)
                for index in range(self.model.index[name] - 1, -1, -1):
                    self.model.pick(name, index)
                    key("Up")
                    self.expect_window(f"Up on {name}")
            self.case(g, f"{name} back to its first item with Up", restore)

    def typing(self):
        g = "typing"
        w = self.window
        for name, text in TYPED:
            def typed(name=name, text=text):
                w.focus_list(name)
                self.begin()
                key("a", CONTROL_MASK)     # select the field's text
                type_text(text)
                edit = w.edits[name].queryText()
                wait_for(f"{name} field text", lambda: edit.getText(0, -1), text)
                key("Return")
                self.model.text[name] = text
                self.expect_unchanged(f"{text!r} and Return typed into {name}")
                # Tab after Return: the focus moving shows both were handled.
                following = TAB_ORDER[(TAB_ORDER.index(name) + 1) % len(TAB_ORDER)]
                self.expect_focus_move("Tab", 0, following)
                self.expect_unchanged(f"focus leaving {name} after typing")
            self.case(g, f"{text!r} + Return + Tab in {name} picks nothing", typed)

            def pick_again(name=name):
                w.focus_list(name)
                index = self.model.index[name]
                self.model.pick(name, index + 1)
                key("Down")
                self.expect_window(f"Down on {name} after typing")
                self.model.pick(name, index)
                key("Up")
                self.expect_window(f"Up on {name} after typing")
            self.case(g, f"{name} picks with Down and Up after typing", pick_again)


def close_window(pid):
    """Asks the program's window to close, as a window manager does when the
    user closes it: a WM_DELETE_WINDOW message to the top level titled with
    the window title (among the window manager's clients, if one runs)."""
    x = Xlib.display.Display()
    try:
        protocols = x.intern_atom("WM_PROTOCOLS")
        delete = x.intern_atom("WM_DELETE_WINDOW")
        pid_atom = x.intern_atom("_NET_WM_PID")
        utf8 = x.intern_atom("UTF8_STRING")
        name_atom = x.intern_atom("_NET_WM_NAME")
        root = x.screen().root
        clients = root.get_full_property(x.intern_atom("_NET_CLIENT_LIST"), Xlib.X.AnyPropertyType)
        windows = ([x.create_resource_object("window", w) for w in clients.value] if clients
                   else root.query_tree().children)
        for window in windows:
            owner = window.get_full_property(pid_atom, Xlib.X.AnyPropertyType)
            title = window.get_full_property(name_atom, utf8)
            if owner is None or owner.value[0] != pid or title is None:
                continue
            if title.value.decode() != WINDOW_TITLE:
                continue
            message = Xlib.protocol.event.ClientMessage(
                window=window, client_type=protocols, data=(32, [delete, Xlib.X.CurrentTime, 0, 0, 0]))
            window.send_event(message)
            # A round trip, not a mere flush: an X server may drop requests
            # it has not handled yet when their client disconnects.
            x.sync()
            return True
        return False
    finally:
        x.close()


def close_program(program):
    """Closes the program's window and waits for it to end; returns what
    went wrong. The program must still run, close when asked and exit
    cleanly: a sanitizer build reports leaks and errors at exit."""
    failed = []
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
    return failed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the program to start")
    parser.add_argument("--language", default="en",
                        help="the language the program is started in (LANGUAGE, LANG): en or ru")
    args = parser.parse_args()
    if args.language != "en":
        load_translations(args.language)

    started = time.monotonic()
    log = tempfile.TemporaryFile()
    program = subprocess.Popen([args.program], stdout=log, stderr=subprocess.STDOUT)
    run = Run(None)
    try:
        run.window = Window(program.pid)
        run.discovery()
        run.descriptions()
        run.start_state()
        run.keyboard()
        run.toggles()
        run.picks()
        run.popup()
        run.typing()
    except Fatal as fatal:
        print(f"[FAIL] cannot go on: {fatal}", flush=True)
        run.failed.append(str(fatal))

    run.failed += close_program(program)

    seconds = time.monotonic() - started
    if run.failed:
        log.seek(0)
        output = log.read().decode(errors="replace").strip()
        if output:
            print("--- program output ---\n" + output)
    for name in run.failed:
        print(f"failed: {name}")
    print(f"accessibility: {run.cases} cases, {len(run.failed)} failed, {seconds:.1f} s")
    return 1 if run.failed else 0


if __name__ == "__main__":
    sys.exit(main())
