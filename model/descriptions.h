#pragma once

// Names and descriptions for screen readers and tooltips: of the controls
// that set the fields, of the bit cells, the words, the register headers and
// the diagram. The field-dependent ones are made from the field table. Each
// text comes from one format string, so that it can be translated whole.

#include "model/fields.h"

#include <QString>

namespace isd {

// The name a control is announced by: a box by its bit ("AGPD"), a list by
// its field and what the field sets ("AXG, gain of the AUX IN amplifier").
QString controlName(const Field &f);

// What a control does and where its field lives, e.g. "AGC amplifier power:
// checked means powered (CFG1 D0)" for a box, "AOS: source of the analog
// output multiplexer (CFG0 D8–D6)" for a list.
QString controlDescription(const Field &f);

// A bit cell by register and bit: "CFG0 D13 AIPD".
QString cellAccessibleName(Register reg, int bit);

// A bit cell as a screen reader speaks it, with the text it shows:
// "AXG1, CFG0 D12: 1".
QString cellSpokenName(Register reg, int bit, const QString &shown);

// What a cell's "1" stands for, e.g. "AIPD, ANA IN amplifier power: 1 means
// powered down" or "AOS1, bit 1 of AOS: source of the analog output
// multiplexer".
QString cellDescription(Register reg, int bit);

// A register's hexadecimal word and its two-line header.
QString wordAccessibleName(Register reg);
// The word as a screen reader speaks it, with the text it shows, and as it
// is announced after every edit: "CFG0 hex 1800".
QString wordSpokenName(Register reg, const QString &shown);
QString wordDescription(Register reg);
QString headerAccessibleName(Register reg);
QString headerDescription(Register reg);

// The picture box with the block diagram.
QString diagramAccessibleName();
QString diagramDescription();

} // namespace isd
