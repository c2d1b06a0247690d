"""What the window must show a screen reader's user: the fields, list items
and tab order from the tests' expected table (tests/expected.json), the
texts the program speaks in the language under test (LANGUAGE), and a model
of the two registers that follows the user's edits."""

import os
import pathlib
import re
import xml.etree.ElementTree

from expected_table import CELLS, FIELDS, REGISTERS, TABLE, TITLE  # noqa: F401  (offered to the tests)

SOURCE = pathlib.Path(__file__).resolve().parents[2]
BOXES = [f for f in FIELDS.values() if f.is_box]
LISTS = [f for f in FIELDS.values() if not f.is_box]
# Focus stops by field name; the diagram as "diagram".
TAB_ORDER = ["diagram" if stop == TABLE["window"]["diagram"] else stop for stop in TABLE["tabOrder"]]

# What each field sets, and what a select box's checked state selects: the
# program's English explanations, in its translation file's terms.
PURPOSE = {
    "AGPD": "AGC amplifier power", "AXPD": "AUX IN amplifier power",
    "AIPD": "ANA IN amplifier power", "INS0": "input source", "FLS0": "filter input",
    "FLPD": "low-pass filter power", "VLPD": "volume control power",
    "AOPD": "analog output amplifier power",
    "AXG": "gain of the AUX IN amplifier", "AIG": "gain of the ANA IN amplifier",
    "S1S": "source of the SUM1 multiplexer", "S1M": "inputs mixed by the SUM1 amplifier",
    "VLS": "source of the volume multiplexer", "FLD": "frequency of the low-pass filter",
    "S2M": "inputs mixed by the SUM2 amplifier", "VOL": "volume step",
    "AOS": "source of the analog output multiplexer", "OPS": "source of the output multiplexer",
    "OPA": "output amplifier: off, speaker or AUX OUT",
}
SELECTS = {"INS0": "AUX IN instead of MIC IN", "FLS0": "ARRAY instead of SUM1"}
if set(PURPOSE) != set(FIELDS):
    raise SystemExit(f"explanations for {sorted(PURPOSE)}, fields {sorted(FIELDS)}")
DIAGRAM_NAME = "Signal-path diagram"
DIAGRAM_DESCRIPTION = "Block diagram of the chip's analog path; paths in use are drawn in red"


def translations(language):
    """The program's English texts in language, from its .ts file; none
    for English, or a language the program does not have."""
    ts = SOURCE / "translations" / f"isd5116-config_{language}.ts"
    if not ts.exists():
        return {}
    return {message.findtext("source"): message.findtext("translation")
            for message in xml.etree.ElementTree.parse(ts).getroot().iter("message")}


# The language under test is the one the program is started in.
TRANSLATIONS = translations(os.environ.get("LANGUAGE", "en"))


def tr(text):
    return TRANSLATIONS.get(text, text)


def arg(text, *args):
    """Fills %1, %2, ... as Qt's QString::arg does."""
    return re.sub(r"%(\d)", lambda number: str(args[int(number.group(1)) - 1]), text)


def box_description(field):
    bit = f"D{field.high}"
    if field.checked_writes == 0:
        return arg(tr("%1: checked means powered (%2 %3)"), tr(PURPOSE[field.name]), field.register, bit)
    return arg(tr("%1: checked selects %2 (%3 %4)"), tr(PURPOSE[field.name]),
               tr(SELECTS[field.name]), field.register, bit)


def list_description(field):
    return f"{field.name}: {tr(PURPOSE[field.name])} ({field.bits_text()})"


def list_label(field):
    """What a list is announced by: "AXG, gain of the AUX IN amplifier"."""
    return f"{field.name}, {tr(PURPOSE[field.name])}"


def cell_spoken(reg, bit, value):
    return f"{CELLS[(reg, bit)].bit_name(bit)}, {reg} D{bit}: {value}"


def cell_description(reg, bit):
    field = CELLS[(reg, bit)]
    stem = field.bit_name(bit)
    if field.is_box:
        one_means = tr(SELECTS.get(field.name, "powered down"))
        return arg(tr("%1, %2: 1 means %3"), stem, tr(PURPOSE[field.name]), one_means)
    return arg(tr("%1, bit %2 of %3: %4"), stem, bit - field.low, field.name, tr(PURPOSE[field.name]))


def word_spoken(reg, word):
    return arg(tr("%1 hex %2"), reg, word)


def word_description(reg):
    return arg(tr("%1 as a hexadecimal word, D15-D0"), reg)


class Model:
    """What the window should show: every cell "0" at start, so power boxes
    checked, select boxes not, each list showing its first item unpicked;
    then the edits made."""

    def __init__(self):
        self.bits = {cell: 0 for cell in CELLS}
        self.checked = {f.name: f.checked_writes == 0 for f in BOXES}
        self.text = {f.name: f.items[0] for f in LISTS}
        self.index = {f.name: -1 for f in LISTS}

    def set_box(self, name, checked):
        field = FIELDS[name]
        self.checked[name] = checked
        self.bits[(field.register, field.high)] = (field.checked_writes if checked
                                                    else 1 - field.checked_writes)

    def pick(self, name, index):
        field = FIELDS[name]
        self.index[name] = index
        self.text[name] = field.items[index]
        for bit in range(field.low, field.high + 1):
            self.bits[(field.register, bit)] = (index >> (bit - field.low)) & 1

    def word(self, reg):
        return format(sum(self.bits[(reg, bit)] << bit for bit in range(16)), "X")

    def expected(self):
        """Cells ("CFG0 D13") and words ("CFG0") as (text, spoken name),
        boxes' checked states and lists' texts."""
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
