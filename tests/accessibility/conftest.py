"""The program under test, started for a test module and found on the
accessibility bus."""

import pathlib
import subprocess

import pytest

import desktop  # sets dogtail up before anything searches
from dogtail.tree import root
from expected_window import TITLE


def pytest_addoption(parser):
    parser.addoption("--program", required=True, help="the program under test")


@pytest.fixture(scope="module")
def screen_reader():
    """What runs beside the program, started before it and ended after it:
    nothing, unless a test module says otherwise."""
    return None


@pytest.fixture(scope="module")
def program(request, screen_reader):
    """The program's process. Closed after the module as its user closes
    it: it must still run, close when asked and exit with status 0 (a
    sanitizer build reports leaks and errors at exit). Its output goes to
    the test during which it was written."""
    process = subprocess.Popen([request.config.getoption("--program")])
    yield process
    try:
        assert process.poll() is None, f"the program ended during the run, status {process.returncode}"
        assert desktop.close_window(process.pid, TITLE), "the program's window cannot be found to close it"
        assert process.wait(timeout=desktop.CLOSE_WAIT) == 0, "exit status after its window was closed"
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


@pytest.fixture(scope="module")
def app(program):
    """The program on the accessibility bus, once it shows its window."""
    app = root.application(pathlib.Path(program.args[0]).name)
    app.child(name=TITLE, recursive=False)
    return app
