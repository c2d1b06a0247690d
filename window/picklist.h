#pragma once

#include <QComboBox>

namespace isd {

// An editable drop-down list whose selection changes only when the user picks
// an item from the list: in the opened popup (a click, or Return or Enter on
// the highlighted item), with Up/Down/PageUp/PageDown on the closed box, or
// with the mouse wheel while the list has the focus, one item per whole
// notch. Each such pick emits picked(); closing the popup any other way (F4,
// Alt+Down, Escape, a click outside) picks nothing. Text typed into the field is only shown: it never selects,
// completes or adds an item, whatever key or focus change ends it.
class PickList : public QComboBox
{
    Q_OBJECT

public:
    // Shows the first item's text with no item selected.
    explicit PickList(const QStringList &items, QWidget *parent = nullptr);

signals:
    void picked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int m_wheelAngle = 0;   // eighths of a degree turned towards the next pick
};

} // namespace isd
