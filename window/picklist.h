#pragma once

#include <QComboBox>

namespace isd {

// An editable drop-down list whose selection changes only when the user picks
// an item from the list: in the opened popup (mouse or keyboard), with
// Up/Down/PageUp/PageDown on the closed box, or with the mouse wheel. Each
// such pick emits picked(). Text typed into the field is only shown: it never
// selects, completes or adds an item, whatever key or focus change ends it.
class PickList : public QComboBox
{
    Q_OBJECT

public:
    // Shows the first item's text with no item selected.
    explicit PickList(const QStringList &items, QWidget *parent = nullptr);

signals:
    void picked();
};

} // namespace isd
