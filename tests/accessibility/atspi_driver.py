"""Drives a program on the test's display as a desktop user does: finds it on
the AT-SPI bus, waits for what it shows, presses keys, types, closes its
window through the X server, and counts the cases of a run.

Shared by test_window.py and orca_speech.py, which CTest runs inside
xvfb-run and dbus-run-session, where the AT-SPI bus starts on demand.
"""

import argparse
import contextlib
import pathlib
import subprocess
import tempfile
import time
import traceback

import gi
import Xlib.display
import Xlib.protocol.event
import Xlib.X
import Xlib.XK

gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402
from gi.repository import GLib  # noqa: E402

# Longest wait for an expected change; the program starts within a second
# or two, slower under a sanitizer or beside a screen reader.
WAIT = 3.0
START_WAIT = 30.0
# How long the program may take to exit once its window is closed; a
# sanitizer build checks for leaks then.
CLOSE_WAIT = 30.0

SHIFT_MASK = Xlib.X.ShiftMask
CONTROL_MASK = Xlib.X.ControlMask


class Failure(Exception):
    """A case's expectation not met."""


class Fatal(Exception):
    """The program cannot be reached or read: no further case can run."""


def expect(ok, message):
    if not ok:
        raise Failure(message)


def expect_equal(what, seen, expected):
    expect(seen == expected, f"{what} {seen!r}, expected {expected!r}")


def arguments(description):
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--program", required=True, help="the program to start")
    parser.add_argument("--language", default="en",
                        help="the language the program is started in (LANGUAGE, LANG): en or ru")
    return parser.parse_args()


def pump():
    """Lets pending AT-SPI events reach their listeners."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def poll(probe, done, timeout):
    """Polls probe, letting AT-SPI events through, until done(value) or
    timeout seconds have passed; returns the last value."""
    deadline = time.monotonic() + timeout
    while True:
        pump()
        value = probe()
        if done(value) or time.monotonic() > deadline:
            return value
        time.sleep(0.005)


def wait_for(what, probe, expected=True, timeout=WAIT, report=None):
    """Polls probe until it returns expected; returns that value, or raises
    Failure with what and, from report(value) if given, what was seen."""
    value = poll(probe, lambda v: v == expected, timeout)
    if value != expected:
        seen = report(value) if report else f"expected {expected!r}, saw {value!r}"
        raise Failure(f"{what}: {seen} after {timeout} s")
    return value


def key(name, modifiers=0):
    """Synthesises a key press and release through the registry; name is
    an X keysym name ("Tab", "space", "a")."""
    registry = pyatspi.Registry
    if modifiers:
        registry.generateKeyboardEvent(modifiers, None, pyatspi.KEY_LOCKMODIFIERS)
    try:
        registry.generateKeyboardEvent(Xlib.XK.string_to_keysym(name), None, pyatspi.KEY_SYM)
    finally:
        if modifiers:
            registry.generateKeyboardEvent(modifiers, None, pyatspi.KEY_UNLOCKMODIFIERS)


def type_text(text):
    pyatspi.Registry.generateKeyboardEvent(0, text, pyatspi.KEY_STRING)


def click(obj):
    box = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, "b1c")


def action_names(obj):
    try:
        action = obj.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def do_action(obj, name):
    names = action_names(obj)
    expect(name in names, f"{describe(obj)} has no {name!r} action (it has {names})")
    expect(obj.queryAction().doAction(names.index(name)), f"{describe(obj)}: the {name!r} action was refused")


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


def only(objects, what, test):
    """The one object that passes test; Fatal if none or several do."""
    found = [o for o in objects if test(o)]
    if len(found) != 1:
        raise Fatal(f"expected one {what}, found {len(found)}")
    return found[0]


def find_application(name):
    """The application called name once it shows a window on the bus."""
    desktop = pyatspi.Registry.getDesktop(0)

    def application():
        apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
        return next((a for a in apps if a is not None and a.name == name and a.childCount > 0), None)

    app = poll(application, lambda a: a is not None, START_WAIT)
    if app is None:
        raise Fatal(f"application {name!r} not on the accessibility bus after {START_WAIT} s")
    return app


def x_display():
    return contextlib.closing(Xlib.display.Display())


def close_window(pid, title):
    """Asks the program's window to close, as a window manager does when the
    user closes it: a WM_DELETE_WINDOW message to the top level of pid titled
    title (among the window manager's clients, if one runs)."""
    with x_display() as x:
        root = x.screen().root
        clients = root.get_full_property(x.intern_atom("_NET_CLIENT_LIST"), Xlib.X.AnyPropertyType)
        windows = ([x.create_resource_object("window", w) for w in clients.value] if clients
                   else root.query_tree().children)
        for window in windows:
            owner = window.get_full_property(x.intern_atom("_NET_WM_PID"), Xlib.X.AnyPropertyType)
            name = window.get_full_property(x.intern_atom("_NET_WM_NAME"), x.intern_atom("UTF8_STRING"))
            if owner is None or owner.value[0] != pid or name is None or name.value.decode() != title:
                continue
            delete = x.intern_atom("WM_DELETE_WINDOW")
            window.send_event(Xlib.protocol.event.ClientMessage(
                window=window, client_type=x.intern_atom("WM_PROTOCOLS"),
                data=(32, [delete, Xlib.X.CurrentTime, 0, 0, 0])))
            # A round trip, not a mere flush: an X server may drop requests
            # it has not handled yet when their client disconnects.
            x.sync()
            return True
        return False


def wait_or_kill(process, timeout):
    """The exit status of process once it ends within timeout; else kills it
    and returns None."""
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return None


class Program:
    """The program under test, started with its output kept for a failure."""

    def __init__(self, path):
        self.name = pathlib.Path(path).name
        self.output = tempfile.TemporaryFile()
        self.process = subprocess.Popen([path], stdout=self.output, stderr=subprocess.STDOUT)
        self.pid = self.process.pid

    def close(self, title):
        """Closes the window titled title and waits for the program to end;
        returns what went wrong. The program must still run, close when
        asked and exit cleanly: a sanitizer build reports leaks and errors
        at exit."""
        program = self.process
        failed = []
        if program.poll() is not None:
            failed.append(f"the program ended during the run (exit status {program.returncode})")
        elif not close_window(program.pid, title):
            failed.append("the program's window cannot be found to close it")
        status = wait_or_kill(program, CLOSE_WAIT)
        if status is None:
            failed.append(f"the program still ran {CLOSE_WAIT} s after its window was closed")
        elif status != 0:
            failed.append(f"the program exited with status {status} after its window was closed")
        return failed

    def printed(self):
        self.output.seek(0)
        return self.output.read().decode(errors="replace").strip()


class Run:
    """Counts and reports cases: one line each, the failures at the end.
    After max_failures failed cases the run stops (Fatal)."""

    def __init__(self, title, max_failures, on_failure=None):
        self.title = title
        self.max_failures = max_failures
        self.on_failure = on_failure
        self.cases = 0
        self.failed = []
        self.started = time.monotonic()

    def case(self, name, body):
        """Runs body; what it returns is printed after the case's name."""
        self.cases += 1
        started = time.monotonic()
        try:
            detail = body()
        except Fatal:
            raise
        except Exception as error:  # an AT-SPI or X error is a failed case too
            self._fail(name, str(error) if isinstance(error, Failure)
                       else traceback.format_exc().strip().splitlines()[-1])
        else:
            shown = f": {detail}" if detail else ""
            print(f"[ ok ] {name}{shown} ({(time.monotonic() - started) * 1000:.0f} ms)", flush=True)

    def _fail(self, name, message):
        self.failed.append(name)
        print(f"[FAIL] {name}: {message}", flush=True)
        if len(self.failed) >= self.max_failures:
            raise Fatal(f"stopped after {len(self.failed)} failed cases")
        if self.on_failure:
            self.on_failure()

    def stopped(self, fatal):
        print(f"[FAIL] cannot go on: {fatal}", flush=True)
        self.failed.append(str(fatal))

    def finish(self, program_output="", note=""):
        """Prints the summary; returns the exit status."""
        if self.failed and program_output:
            print("--- program output ---\n" + program_output)
        for name in self.failed:
            print(f"failed: {name}")
        print(f"{self.title}: {self.cases} cases, {len(self.failed)} failed, "
              f"{time.monotonic() - self.started:.1f} s{note}")
        return 1 if self.failed else 0
