#pragma once

#include "model/fields.h"
#include "model/registers.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace isd {

enum class ControlKind {
    Header,     // a register's two lines of field names and bit numbers
    Cell,       // a bit cell: its text "0" or "1" is the bit
    Word,       // a register's hexadecimal word
    Link,       // the blue, bold, underlined link text; clicking it does nothing
    Picture,    // the picture box holding the diagram and the editors
    CheckBox,
    List,       // editable drop-down list that picks only from its items
};

enum class Container { Window, Picture };

// One control of the window in its design state. Positions are in twips,
// relative to the window's client area or to the picture box's inner area.
// The control's objectName is its name here, and here only.
struct ControlSpec {
    QString name;
    ControlKind kind;
    Container container;
    int left, top, width, height;
    int tabIndex;
    QString text;                    // initial text; for a list, its first item's
    bool checked = false;            // check boxes
    QStringList items;               // lists
    Register reg = Register::CFG0;   // headers, cells and words: their register
    int bit = -1;                    // cells: the bit they show, D-number
    FieldId field = FieldId::AIG;    // check boxes and lists: the field they set
};

// Every control of the window: Label1..Label37, Picture1, Check1..Check8 and
// Combo1..Combo11, in no particular order.
const std::vector<ControlSpec> &controlTable();

// The names of the window itself and of the timer that refreshes its words.
constexpr char kWindowName[] = "Form1";
constexpr char kTimerName[] = "Timer1";

// The bit cell of a register bit, a register's word, and the check box or
// list that sets a field.
const ControlSpec &cellControl(Register reg, int bit);
const ControlSpec &wordControl(Register reg);
const ControlSpec &fieldControl(FieldId field);

// The window's client area, in twips.
constexpr int kClientWidthTwips = 15240;
constexpr int kClientHeightTwips = 11115;

// The text of the link label.
QString linkText();

} // namespace isd
