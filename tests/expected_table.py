"""The tests' expected table (expected.json beside this file), read once for
the Python tests: the registers, the fields with the controls that set them,
the window's own objects and every control's place. The AT-SPI tests and the
Windows program's tests import it alike (CTest puts this folder on
PYTHONPATH)."""

import json
import pathlib

TABLE = json.loads((pathlib.Path(__file__).with_name("expected.json")).read_text(encoding="utf-8"))


class Field:
    """A field of a register and the control that sets it: a power box
    (checked = powered, writes 0), a select box (checked writes 1) or a
    list (the picked index is the field's value)."""

    def __init__(self, entry):
        self.name = entry["name"]
        self.register = entry["register"]
        self.high = entry["highBit"]
        self.low = self.high - entry["width"] + 1
        self.width = entry["width"]
        self.control = entry["control"]
        self.is_box = entry["kind"] != "list"
        self.checked_writes = 1 if entry["kind"] == "select box" else 0
        self.items = entry.get("items", [])

    def bit_name(self, bit):
        return self.name if self.width == 1 else f"{self.name}{bit - self.low}"

    def bits_text(self):
        return (f"{self.register} D{self.high}" if self.width == 1
                else f"{self.register} D{self.high}–D{self.low}")

    def ones(self, value):
        """The cells that show 1 when the field holds value: (register, bit)."""
        return {(self.register, bit) for bit in range(self.low, self.high + 1) if value >> (bit - self.low) & 1}


TITLE = TABLE["window"]["title"]
REGISTERS = [register["name"] for register in TABLE["registers"]]
FIELDS = {entry["name"]: Field(entry) for entry in TABLE["fields"]}


def cells():
    """(register, bit) -> the field that holds it; each bit in one field."""
    owner = {}
    for field in FIELDS.values():
        for bit in range(field.low, field.high + 1):
            if (field.register, bit) in owner:
                raise SystemExit(f"expected table: {field.register} D{bit} in two fields")
            owner[(field.register, bit)] = field
    if len(owner) != 16 * len(REGISTERS):
        raise SystemExit("expected table: the fields do not cover every bit of the registers")
    return owner


CELLS = cells()


def cell_control(register, bit):
    """The name of the label that shows a register's bit."""
    cells = next(r["cells"] for r in TABLE["registers"] if r["name"] == register)
    return cells[15 - bit]


def word_control(register):
    return next(r["word"] for r in TABLE["registers"] if r["name"] == register)


def place(control):
    """Where a control is, in pixels at 100 %, as (x, y, width, height) on
    the window's client area; a control on the diagram lies on the picture's
    inner area, inside the picture box's frame."""
    places = TABLE["places"]
    if control in places["window"]:
        return tuple(places["window"][control])
    x, y, width, height = places["diagram"][control]
    px, py = places["window"][TABLE["window"]["diagram"]][:2]
    frame = places["frame"]
    return (px + frame + x, py + frame + y, width, height)
