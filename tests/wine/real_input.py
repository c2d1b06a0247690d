#!/usr/bin/python3
"""The Windows program under Wine, driven with real X input as a user drives
it: on the virtual desktop, xdotool clicks the INS0 box, then clicks into
the AOS list and picks its third item with three presses of Down. After each
edit the window, grabbed from the X server, must come to show what the
program shows on Linux: the cells of the fields set show "1" where their
values have a 1 and every other cell still shows "0", the edited register's
word changed and the other's did not, and the red paths on the diagram
changed. The places it reads and clicks come from the expected table. Writes
the grabs to the working directory when a check fails.

  real_input.py --program isd5116-config.exe --wine tests/wine/wine.sh
"""

import argparse
import contextlib
import subprocess
import sys
import time

from PIL import Image, ImageChops
from Xlib import X, display

from expected_table import FIELDS, REGISTERS, TABLE, cell_control, place, word_control

AOS_PICK = 2           # the item picked: VOL
WAIT = 30.0            # the longest wait for the window or a change


def box(control, shrink=0):
    """A control's box on the window as (left, top, right, bottom), less
    `shrink` pixel rows at its foot."""
    x, y, width, height = place(control)
    return (x, y, x + width, y + height - shrink)


def centre(box):
    return ((box[0] + box[2]) // 2, (box[1] + box[3]) // 2)


def cell(reg, bit):
    # Without its last pixel row: CFG1's lies under the picture box.
    return box(cell_control(reg, bit), shrink=1)


def word(reg):
    return box(word_control(reg))


PICTURE = box(TABLE["window"]["diagram"])


class Failed(Exception):
    pass


class Window:
    def __init__(self, window_id):
        self.window = display.Display().create_resource_object("window", window_id)
        self.id = str(window_id)

    def grab(self):
        g = self.window.get_geometry()
        raw = self.window.get_image(0, 0, g.width, g.height, X.ZPixmap, 0xFFFFFFFF)
        return Image.frombytes("RGB", (g.width, g.height), raw.data, "raw", "BGRX")

    def shows(self, check):
        """The first grab that passes the check, within WAIT."""
        deadline = time.monotonic() + WAIT
        while True:
            shot = self.grab()
            try:
                check(shot)
                return shot
            except Failed:
                if time.monotonic() > deadline:
                    raise
            time.sleep(0.2)

    def click(self, box):
        """A click through the X server's input, as a mouse makes it; then
        the mouse rests on the picture box's blank foot, which shows no
        tooltip over what is checked."""
        x, y = centre(box)
        xdotool("mousemove", "--window", self.id, str(x), str(y), "click", "1",
                "mousemove", "--window", self.id, "500", "730")


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True)


def same(a, b, box=None):
    if box:
        a, b = a.crop(box), b.crop(box)
    return a.size == b.size and ImageChops.difference(a, b).getbbox() is None


def red(shot):
    """Where the picture box shows pure red, the colour of a path in use."""
    r, g, b = shot.crop(PICTURE).split()
    return ImageChops.multiply(ImageChops.multiply(r.point(lambda v: 255 * (v == 255)),
                                                   g.point(lambda v: 255 * (v == 0))),
                               b.point(lambda v: 255 * (v == 0)))


def check_cells(what, shot, glyphs, showing_one):
    """Every cell shows the "0" of `glyphs`, but those of `showing_one`,
    which show one and the same other glyph, its "1". A glyph `glyphs` has
    not yet is taken from the first cell meant to show it, once the check
    passes."""
    found = dict(glyphs)
    for reg in REGISTERS:
        for bit in range(16):
            crop = shot.crop(cell(reg, bit))
            shown = "1" if (reg, bit) in showing_one else "0"
            darkest, lightest = crop.convert("L").getextrema()
            if darkest > 128 or lightest < 192:
                raise Failed(f"{what}: {reg} D{bit} shows no dark text on light paper")
            found.setdefault(shown, crop)
            if not same(crop, found[shown]) or (shown == "1" and same(crop, found["0"])):
                raise Failed(f"{what}: {reg} D{bit} does not show {shown}")
    glyphs.update(found)


def check_edit(what, before, after, glyphs, showing_one, edited):
    """After an edit of a field of the register `edited`: the cells, the
    edited register's word changed and the other's not, the red paths
    changed."""
    check_cells(what, after, glyphs, showing_one)
    for reg in REGISTERS:
        changed = not same(before, after, word(reg))
        if changed != (reg == edited):
            raise Failed(f"{what}: the {reg} word {'changed' if changed else 'did not change'}")
    if same(red(before), red(after)):
        raise Failed(f"{what}: the red paths did not change")


@contextlib.contextmanager
def program_window(wine, program, **popen):
    """The program started under Wine, and the X id of its window once it
    shows; ended afterwards."""
    process = subprocess.Popen([wine, program], **popen)
    try:
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "ISD5116"],
                               check=True, capture_output=True, text=True, timeout=WAIT * 2)
        yield process, int(found.stdout.split()[0])
    finally:
        process.terminate()
        process.wait()


def run(args):
    ins0, aos = FIELDS["INS0"], FIELDS["AOS"]
    shots = []
    with program_window(args.wine, args.program) as (_, window_id):
        window = Window(window_id)
        try:
            glyphs = {}
            shots.append(window.shows(lambda shot: check_cells("at start", shot, glyphs, set())))

            window.click(box(ins0.control))
            showing_one = ins0.ones(1)
            shots.append(window.shows(lambda shot: check_edit(
                "INS0 box clicked", shots[-1], shot, glyphs, showing_one, ins0.register)))

            window.click(box(aos.control))
            xdotool("key", *["Down"] * (AOS_PICK + 1))   # from no item picked
            showing_one = showing_one | aos.ones(AOS_PICK)
            shots.append(window.shows(lambda shot: check_edit(
                f"AOS item {AOS_PICK} picked", shots[-1], shot, glyphs, showing_one, aos.register)))
        except Failed:
            for i, shot in enumerate(shots + [window.grab()]):
                shot.save(f"real-input-{i}.png")
            raise


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--wine", required=True)
    try:
        run(parser.parse_args())
    except (Failed, subprocess.SubprocessError) as error:
        print(f"FAIL: {error}", file=sys.stderr)
        return 1
    print("PASS: real clicks and keys changed the cells, the word and the red paths")
    return 0


if __name__ == "__main__":
    sys.exit(main())
