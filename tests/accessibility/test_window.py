#!/usr/bin/python3
"""Drives the running window through AT-SPI, as a screen reader does.

Finds the check boxes (by name), the lists (by description), the bit cells
and the two words (by the names they are spoken by, which carry their
values); toggles boxes through the Action interface; picks list items with
keys; walks the tab order with Tab and Shift+Tab. After every action the
whole window (all cells and both words, text and spoken name, every box and
list) must match the register model, and after every edit the edited
register's word must be announced once; after typing, nothing. With
--language ru the explanations are expected in Russian. At the end closes
the window as a user does and expects the program to exit with status 0.
"""

import contextlib
import sys

import pyatspi

from atspi_driver import (CONTROL_MASK, SHIFT_MASK, WAIT, Fatal, Program, Run, arguments, click,
                          descendants, do_action, expect, expect_equal, find_application, has_state,
                          key, only, poll, pump, type_text, wait_for)
from expected_window import (BOXES, CELLS, DIAGRAM_NAME, FIELDS, LISTS, REGISTERS, TAB_ORDER, TITLE,
                             Model, arg, box_description, cell_description, cell_spoken,
                             list_description, list_label, load_translations, tr, word_spoken)

# How long a state must hold to show that an action changed nothing.
HOLD = 0.15
# A broken build fails case after case, each after WAIT: stop after this many.
MAX_FAILURES = 20

# Words documented for one change from the start state: (field, checked
# state or picked index) -> (register, word).
DOCUMENTED_WORDS = {
    ("AGPD", False): ("CFG1", "1"), ("AXPD", False): ("CFG0", "400"), ("INS0", True): ("CFG0", "200"),
    ("AOS", 5): ("CFG0", "140"), ("AOS", 2): ("CFG0", "80"), ("VLS", 1): ("CFG1", "4000"),
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


def differences(expected, seen):
    return "; ".join(f"{k}: expected {expected[k]!r}, saw {seen.get(k)!r}"
                     for k in expected if seen.get(k) != expected[k])


class Window:
    """The program's window as AT-SPI shows it, beside the model of what it
    should show, with the checks every case makes."""

    def __init__(self, program):
        self.pid = program.pid
        self.app = find_application(program.name)
        self.model = Model()
        self.focus_events = []
        self.announcements = []
        self.renamed = []
        self.frame = None
        self.controls = {}  # by field name, and the diagram
        self.edits = {}     # the lists' text fields
        self.values = {}    # cells ("CFG0 D13") and words ("CFG0")
        self.texts = {}     # their Text interfaces
        self.announcer = None

    def find_controls(self):
        frames = [self.app.getChildAtIndex(i) for i in range(self.app.childCount)]
        self.frame = only(frames, f"window titled {TITLE!r}", lambda f: f is not None and f.name == TITLE)
        objects = list(descendants(self.frame))

        def one(what, role, test):
            return only(objects, what, lambda o: (role is None or o.getRole() == role) and test(o))

        for field in BOXES:
            self.controls[field.name] = one(f"check box {field.name}", pyatspi.ROLE_CHECK_BOX,
                                            lambda o: o.name == field.name)
        for field in LISTS:
            combo = self.controls[field.name] = one(f"combo box described as the {field.name} list",
                                                    pyatspi.ROLE_COMBO_BOX,
                                                    lambda o: o.description == list_description(field))
            self.edits[field.name] = only(descendants(combo), f"text field in {field.name}",
                                          lambda o: o.getRole() == pyatspi.ROLE_TEXT)
        # Cells and words by the start of their spoken names, which end in their values.
        starts = {f"{reg} D{bit}": cell_spoken(reg, bit, "") for reg, bit in CELLS}
        starts.update({reg: word_spoken(reg, "") for reg in REGISTERS})
        for value, start in starts.items():
            self.values[value] = one(f"label named {start!r}...", pyatspi.ROLE_LABEL,
                                     lambda o: o.name.startswith(start))
        self.controls["diagram"] = one(f"object named {tr(DIAGRAM_NAME)!r}", None,
                                       lambda o: o.name == tr(DIAGRAM_NAME))
        self.announcer = one("notification", pyatspi.ROLE_NOTIFICATION, lambda o: True)
        # Listening starts once the program has answered for its whole tree:
        # a listener registered while its accessibility bridge starts up
        # may never be told to the program, which then sends no events.
        pyatspi.Registry.registerEventListener(self._on_focus, "object:state-changed:focused")
        pyatspi.Registry.registerEventListener(self._on_showing, "object:state-changed:showing")
        pyatspi.Registry.registerEventListener(self._on_renamed, "object:property-change:accessible-name")

    def _on_focus(self, event):
        if event.detail1:
            self.focus_events.append(event.source)

    def _on_showing(self, event):
        if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            self.announcements.append(event.source.name)

    def _on_renamed(self, event):
        self.renamed.append(event.source)

    def activate(self):
        """Clicks the CFG0 header, as a user clicks into a new window (no
        window manager activates it here)."""
        name = arg(tr("%1 register header"), REGISTERS[0])
        click(only(descendants(self.frame), f"{name!r} to click into the window", lambda o: o.name == name))
        if not poll(lambda: has_state(self.frame, pyatspi.STATE_ACTIVE), bool, WAIT):
            raise Fatal(f"the window not active {WAIT} s after a click into it")

    def seen(self):
        state = {key: (text.getText(0, -1), self.values[key].name) for key, text in self.texts.items()}
        for field in BOXES:
            state[f"box {field.name}"] = has_state(self.controls[field.name], pyatspi.STATE_CHECKED)
        for field in LISTS:
            combo = self.controls[field.name]
            combo.clearCache()
            state[f"list {field.name}"] = combo.name
        return state

    def focused(self):
        return [k for k in TAB_ORDER if has_state(self.controls[k], pyatspi.STATE_FOCUSED)]

    def focus_list(self, name):
        """Gives a list the keyboard focus through Component.grabFocus: on the
        combo box, or, where its combo box has no SetFocus action (Qt 6.4),
        on its edit field."""
        grabbed = (self.controls[name].queryComponent().grabFocus()
                   or self.edits[name].queryComponent().grabFocus())
        expect(grabbed, f"the {name} list refused grabFocus, and so did its edit field")
        wait_for(f"focus on the {name} list", self.focused, [name])

    def resync(self):
        """After a failed case, takes over what the window shows."""
        if self.texts:
            try:
                self.model.resync(self.seen())
            except Exception as error:
                raise Fatal(f"the window cannot be read any more: {error}") from None

    # --- checks ---------------------------------------------------------------

    def expect_window(self, what):
        """Polls until the whole window matches the model."""
        expected = self.model.expected()
        wait_for(what, self.seen, expected, report=lambda seen: differences(expected, seen))

    def begin(self):
        """Forgets the announcements and renamings seen before a case."""
        pump()
        self.announcements.clear()
        self.renamed.clear()

    def expect_unchanged(self, what):
        """The window matches the model, and keeps matching for HOLD, with
        nothing announced since the case began."""
        self.expect_window(what)
        expected = self.model.expected()
        seen = poll(self.seen, lambda seen: seen != expected, HOLD)
        expect(seen == expected, f"{what}: changed: {differences(expected, seen)}")
        expect(not self.announcements, f"{what}: announced {self.announcements}")

    def expect_edit(self, what, edited, repeats=False):
        """The window matches the model, and the edited register's word has
        been announced once since the case began (or, with repeats, at least
        once and nothing else)."""
        self.expect_window(what)
        reg = FIELDS[edited].register
        word = word_spoken(reg, self.model.word(reg))
        if repeats:
            wait_for(f"{what}: announcement", lambda: set(self.announcements), {word})
        else:
            wait_for(f"{what}: announcement", lambda: self.announcements, [word])

    def expect_documented(self, change):
        if change in DOCUMENTED_WORDS:
            reg, word = DOCUMENTED_WORDS[change]
            expect_equal(f"{reg} word after {change}", self.texts[reg].getText(0, -1), word)

    def expect_focus(self, after, target):
        """The focus, and a focus event since focus_events was cleared, reach target."""
        wait_for(f"focus after {after}", self.focused, [target])
        wait_for(f"focus event for {target}", lambda: self.controls[target] in self.focus_events)

    def expect_focus_move(self, keyname, modifiers, target):
        self.focus_events.clear()
        key(keyname, modifiers)
        self.expect_focus(("Shift+" if modifiers & SHIFT_MASK else "") + keyname, target)

    def toggle(self, name, by_key):
        self.begin()
        self.model.set_box(name, not self.model.checked[name])
        if by_key:
            key("space")
        else:
            do_action(self.controls[name], "Toggle")
        self.expect_edit(f"{'Space' if by_key else 'Toggle'} on {name}", name)

    def pick_by_key(self, name, index, keyname):
        """Picks item index of the focused list with keyname (Up or Down)."""
        self.begin()
        self.model.pick(name, index)
        key(keyname)
        self.expect_edit(f"{keyname} to {name} {FIELDS[name].items[index]!r}", name)
        self.expect_documented((name, index))


# --- cases ------------------------------------------------------------------------


def expect_role(what, obj, *roles):
    expect(obj.getRole() in roles, f"{what} has role {obj.getRoleName()!r}")


def discovery(case, w):
    def texts():
        for name, obj in w.values.items():
            with contextlib.suppress(NotImplementedError):
                w.texts[name] = obj.queryText()
        missing = [name for name in w.values if name not in w.texts]
        expect(not missing, f"{len(missing)} of {len(w.values)} offer no Text interface, so a screen "
                            f"reader cannot read their values: {', '.join(missing)}")

    case(f"application {w.app.name!r} is the started program",
         lambda: expect_equal("application pid", w.app.get_process_id(), w.pid))
    case("window titled with the window title, every control found", w.find_controls)
    # Screen readers take a frame, window or dialog as a top level.
    case("the window is a frame", lambda: expect_role("the window", w.frame, pyatspi.ROLE_FRAME,
                                                      pyatspi.ROLE_WINDOW, pyatspi.ROLE_DIALOG))
    case("every cell and word is read through the Text interface", texts)
    # find_controls found them as labels.
    for name, obj in w.values.items():
        case(f"{name} is a showing label",
             lambda obj=obj: expect(has_state(obj, pyatspi.STATE_SHOWING), "not showing"))
    # A frame inside the window would be taken for a window of its own,
    # and a screen reader's review of it would never reach the registers.
    case("the diagram is an image", lambda: expect_role("the diagram", w.controls["diagram"],
                                                        pyatspi.ROLE_IMAGE))
    # Inside a status bar a screen reader says an announcement without the
    # word "notification".
    case("announcements come from a notification in a status bar",
         lambda: expect_role("its parent", w.announcer.parent, pyatspi.ROLE_STATUS_BAR))


def descriptions(case, w):
    for field in BOXES:
        case(f"box {field.name}", lambda obj=w.controls[field.name], field=field:
             expect_equal("description", obj.description, box_description(field)))
    for field in LISTS:
        combo = w.controls[field.name]
        case(f"list {field.name} (found by it) offers its items", lambda combo=combo, field=field:
             expect_equal("list items", [o.name for o in descendants(combo)
                                         if o.getRole() == pyatspi.ROLE_LIST_ITEM], field.items))

        # Announced by the field first, on Linux through a label (Qt names an
        # editable combo box by its text); its popup too.
        def label(combo=combo, label=list_label(field)):
            by = [r for r in combo.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
            expect_equal("labelled by", [(t.getRoleName(), t.name) for r in by for t in [r.getTarget(0)]],
                         [("label", label)])
            expect_equal("popup named", [o.name for o in descendants(combo)
                                         if o.getRole() == pyatspi.ROLE_LIST], [label])
        case(f"list {field.name} is labelled with its field", label)
    for reg, bit in CELLS:
        case(f"cell {reg} D{bit}", lambda obj=w.values[f"{reg} D{bit}"], reg=reg, bit=bit:
             expect_equal("description", obj.description, cell_description(reg, bit)))
    for reg in REGISTERS:
        case(f"word {reg}", lambda obj=w.values[reg], reg=reg:
             expect(reg in obj.description, f"description {obj.description!r} does not name {reg}"))
    case("diagram", lambda: expect(w.controls["diagram"].description, "empty description"))


def start_state(case, w):
    if len(w.texts) != len(w.values):
        raise Fatal("the cells and words cannot be read")
    case(f"all {len(CELLS)} cells '0', both words '0', boxes and lists as designed",
         lambda: w.expect_window("start state"))

    def first_focus():
        w.focus_events.clear()
        w.activate()
        w.expect_focus("the window is activated", "diagram")
    case("activated window has the focus on the diagram", first_focus)


def keyboard(case, w):
    # Forward through the whole order and back to the diagram; each box
    # toggled with Space and back.
    previous = "diagram"
    for target in TAB_ORDER[1:] + TAB_ORDER[:1]:
        case(f"Tab from {previous} to {target}", lambda target=target: w.expect_focus_move("Tab", 0, target))
        previous = target
        if target in FIELDS and FIELDS[target].is_box:
            for step in ("toggles", "toggles back"):
                case(f"Space on {target} {step}", lambda target=target: w.toggle(target, by_key=True))
    for target in reversed(TAB_ORDER):
        case(f"Shift+Tab from {previous} to {target}",
             lambda target=target: w.expect_focus_move("Tab", SHIFT_MASK, target))
        previous = target


def toggles(case, w):
    for field in BOXES:
        for step in ("toggles", "toggles back"):
            def toggle(field=field, step=step):
                w.toggle(field.name, by_key=False)
                # Screen readers keep names until told of a change.
                for value in (f"{field.register} D{field.high}", field.register):
                    expect(w.values[value] in w.renamed, f"no name-change event from {value}")
                w.expect_documented((field.name, w.model.checked[field.name]))
            case(f"{field.name} {step}", toggle)

    # All at once, then all back.
    for step in ("all boxes toggled in turn", "all boxes toggled back"):
        def every(step=step):
            for field in BOXES:
                w.model.set_box(field.name, not w.model.checked[field.name])
                do_action(w.controls[field.name], "Toggle")
            w.expect_window(step)
        case(step, every)


def picks(case, w):
    for field in LISTS:
        case(f"{field.name} takes the focus", lambda name=field.name: w.focus_list(name))
        # Down from no selection selects the first item, then each next;
        # Up goes back to the first.
        indexes = range(len(field.items))
        for keyname, index in [("Down", i) for i in indexes] + [("Up", i) for i in reversed(indexes[:-1])]:
            case(f"{keyname} picks {field.name} {index} {field.items[index]!r}",
                 lambda name=field.name, index=index, keyname=keyname: w.pick_by_key(name, index, keyname))


def popup(case, w):
    for name, action, downs, ending in POPUP_PICKS:
        items = FIELDS[name].items
        start = w.model.index[name]

        def pick(name=name, action=action, downs=downs, ending=ending, start=start, items=items):
            combo = w.controls[name]
            w.focus_list(name)
            w.begin()
            do_action(combo, action)
            wait_for(f"{name} popup open", lambda: has_state(combo, pyatspi.STATE_EXPANDED))
            # One key at a time, as a user reads each item: Qt's popup picks
            # on the Return it sees first, even before earlier keys are
            # handled.
            for index in range(start + 1, downs + 1):
                key("Down")
                wait_for(f"{name} popup at {items[index]!r}",
                         lambda: [o.name for o in w.focus_events[-1:]], [items[index]])
            key(ending)
            wait_for(f"{name} popup closed", lambda: has_state(combo, pyatspi.STATE_EXPANDED), False)
            if ending == "Return":
                w.model.pick(name, downs)
                # Slowed down (the sanitizer build), Qt 6.4's popup may take
                # one Return for two picks of the same item.
                w.expect_edit(f"{name} picked in the popup", name, repeats=True)
                w.expect_documented((name, downs))
            else:
                w.expect_unchanged(f"{name} popup closed with {ending}")

        outcome = f"picks {items[downs]!r}" if ending == "Return" else "picks nothing"
        case(f"{action} on {name}, Down x{downs - start}, {ending} {outcome}", pick)

        def restore(name=name):
            w.focus_list(name)
            for index in range(w.model.index[name] - 1, -1, -1):
                w.pick_by_key(name, index, "Up")
        case(f"{name} back to its first item with Up", restore)


def typing(case, w):
    for name, text in TYPED:
        def typed(name=name, text=text):
            w.focus_list(name)
            w.begin()
            key("a", CONTROL_MASK)     # select the field's text
            type_text(text)
            edit = w.edits[name].queryText()
            wait_for(f"{name} field text", lambda: edit.getText(0, -1), text)
            key("Return")
            w.model.text[name] = text
            w.expect_unchanged(f"{text!r} and Return typed into {name}")
            # Tab after Return: the focus moving shows both were handled.
            w.expect_focus_move("Tab", 0, TAB_ORDER[(TAB_ORDER.index(name) + 1) % len(TAB_ORDER)])
            w.expect_unchanged(f"focus leaving {name} after typing")
        case(f"{text!r} + Return + Tab in {name} picks nothing", typed)

        def pick_again(name=name):
            w.focus_list(name)
            index = w.model.index[name]
            w.pick_by_key(name, index + 1, "Down")
            w.pick_by_key(name, index, "Up")
        case(f"{name} picks with Down and Up after typing", pick_again)


GROUPS = [("discovery", discovery), ("descriptions", descriptions), ("start", start_state),
          ("keyboard", keyboard), ("toggle action", toggles), ("keys on a list", picks),
          ("popup", popup), ("typing", typing)]


def main():
    args = arguments(__doc__.splitlines()[0])
    load_translations(args.language)
    program = Program(args.program)
    window = None
    run = Run("accessibility", MAX_FAILURES, on_failure=lambda: window and window.resync())
    try:
        window = Window(program)
        for group, cases in GROUPS:
            cases(lambda name, body, group=group: run.case(f"{group}: {name}", body), window)
    except Fatal as fatal:
        run.stopped(fatal)
    run.failed += program.close(TITLE)
    return run.finish(program.printed())


if __name__ == "__main__":
    sys.exit(main())
