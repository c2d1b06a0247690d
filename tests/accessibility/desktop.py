"""What the accessibility tests need of their desktop session beyond pytest
and dogtail: dogtail set up for a session with no desktop settings, waits
that let the AT-SPI events in, the events a screen reader follows, and
closing a window as its user does. CTest runs the tests on its virtual
desktop, each in a D-Bus session of its own (dbus-run-session), where the
AT-SPI bus starts on demand.

Imported before anything of dogtail's searches (conftest.py does)."""

import contextlib
import time

import Xlib.display
import Xlib.protocol.event
import Xlib.X
import Xlib.Xutil
from dogtail.config import config

# No desktop settings here say that accessibility is on; the program turns
# it on itself. dogtail logs to the test's output only, and does not pause
# after actions and keys: every check waits for what it expects.
config.checkForA11y = False
config.logDebugToFile = False
config.actionDelay = config.typingDelay = config.defaultDelay = 0
# A search retries every 0.1 s for up to START_WAIT: the program starts
# within a second or two, slower under a sanitizer or beside a screen reader.
START_WAIT = 30.0
config.searchBackoffDuration = 0.1
config.searchCutoffCount = int(START_WAIT / config.searchBackoffDuration)

import pyatspi  # noqa: E402  (after the configuration, as dogtail's tree)
from gi.repository import GLib  # noqa: E402

# Longest wait for an expected change.
WAIT = 3.0
# How long the program may take to exit once its window is closed; a
# sanitizer build checks for leaks then.
CLOSE_WAIT = 30.0


def pump():
    """Lets the AT-SPI events that came in reach their listeners."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def poll(probe, done, timeout=WAIT):
    """probe()'s value once done(value), or its last value after timeout
    seconds; the AT-SPI events that come in meanwhile reach their listeners."""
    deadline = time.monotonic() + timeout
    while True:
        pump()
        value = probe()
        if done(value) or time.monotonic() > deadline:
            return value
        time.sleep(0.005)


def settled(probe, expected, timeout=WAIT):
    """probe()'s value once it equals expected, or its last value after
    timeout seconds."""
    return poll(probe, lambda value: value == expected, timeout)


def has_state(node, state):
    """Whether node has state now: the bus's cache holds only the states it
    has been told of."""
    node.clearCache()
    return node.getState().contains(state)


class Events:
    """What a screen reader is told of, since the last clear(): focus moves,
    announcements (Qt's own from 6.8 on, else a notification shown) and
    renamed objects. Created once the program has answered for its whole
    tree: a listener registered while its accessibility bridge starts up may
    never be told to the program."""

    def __init__(self):
        self.focused, self.announced, self.renamed = [], [], []
        pyatspi.Registry.registerEventListener(self._on_focus, "object:state-changed:focused")
        pyatspi.Registry.registerEventListener(self._on_showing, "object:state-changed:showing")
        pyatspi.Registry.registerEventListener(self._on_renamed, "object:property-change:accessible-name")
        pyatspi.Registry.registerEventListener(self._on_announcement, "object:announcement")

    def _on_focus(self, event):
        if event.detail1:
            self.focused.append(event.source)

    def _on_showing(self, event):
        if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            self.announced.append(event.source.name)

    def _on_announcement(self, event):
        self.announced.append(event.any_data)

    def _on_renamed(self, event):
        self.renamed.append(event.source)

    def clear(self):
        pump()  # the events of what came before
        for events in (self.focused, self.announced, self.renamed):
            events.clear()


def x_display():
    return contextlib.closing(Xlib.display.Display())


def window_manager_running():
    with x_display() as x:
        check = x.intern_atom("_NET_SUPPORTING_WM_CHECK")
        return x.screen().root.get_full_property(check, Xlib.X.AnyPropertyType) is not None


@contextlib.contextmanager
def another_window():
    """A small window of another program, opened in the screen's corner: the
    window manager gives it the focus, as when a user turns to another
    program. Closed at the end of the block."""
    with x_display() as x:
        screen = x.screen()
        window = screen.root.create_window(0, 0, 160, 90, 0, screen.root_depth,
                                           background_pixel=screen.white_pixel)
        window.set_wm_name("another program")
        window.set_wm_hints(flags=Xlib.Xutil.InputHint, input=1)
        window.map()
        x.sync()
        try:
            yield
        finally:
            window.destroy()
            x.sync()


def close_window(pid, title):
    """Asks the window of process pid titled title to close, as a window
    manager does when its user closes it (WM_DELETE_WINDOW); whether it was
    found."""
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
