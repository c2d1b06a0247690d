#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace isd {

enum class ControlKind {
    Label,      // plain text label: the register headers
    ValueLabel, // a label whose text is a value: bit cells, hexadecimal words
    LinkLabel,  // the blue, bold, underlined link text; clicking it does nothing
    Picture,    // the picture box holding the diagram and the editors
    CheckBox,
    List,       // editable drop-down list that picks only from its items
};

enum class Container { Window, Picture };

// One control of the window in its design state. Positions are in twips,
// relative to the window's client area or to the picture box's inner area.
struct ControlSpec {
    QString name;           // the control's objectName
    ControlKind kind;
    Container container;
    int left, top, width, height;
    int tabIndex;
    QString text;           // initial text; for a list, its first item's
    bool checked = false;   // check boxes
    QStringList items;      // lists
};

// Every control of the window: Label1..Label37, Picture1, Check1..Check8 and
// Combo1..Combo11, in no particular order.
const std::vector<ControlSpec> &controlTable();
const ControlSpec &control(const QString &name);

// The window's client area, in twips.
constexpr int kClientWidthTwips = 15240;
constexpr int kClientHeightTwips = 11115;

// The text of the link label.
QString linkText();

} // namespace isd
