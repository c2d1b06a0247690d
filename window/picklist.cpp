#include "window/picklist.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProxyStyle>
#include <QSignalBlocker>

namespace isd {

namespace {

// QComboBox looks the typed text up among its items when its line edit
// reports Return or editingFinished (Enter, Tab, a click elsewhere, opening
// the popup), selects the match and emits activated. This field never lets
// Return or Enter reach the line edit's own handling, and finishes editing
// on focus-out in silence, so typing can never act as a pick.
class TypingOnlyEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

    // Tab would select the whole text, and a screen reader would speak that
    // selection before the list's name; the field is only shown, so it takes
    // the focus as a click gives it, without selecting.
    void focusInEvent(QFocusEvent *event) override
    {
        QFocusEvent plain(event->type(), Qt::OtherFocusReason);
        QLineEdit::focusInEvent(&plain);
    }

    void focusOutEvent(QFocusEvent *event) override
    {
        const QSignalBlocker quiet(this);
        QLineEdit::focusOutEvent(event);
    }
};

// The lists are laid out for a classic dialog font and a slim drop-down
// button; this style gives the button and the frame that width, so that the
// longest item ("ANA & FILTO") fits the narrow boxes on the diagram.
class SlimButtonStyle : public QProxyStyle
{
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                         SubControl part, const QWidget *widget) const override
    {
        if (control != CC_ComboBox)
            return QProxyStyle::subControlRect(control, option, part, widget);
        constexpr int kButtonWidth = 14;
        constexpr int kFrame = 1;
        const QRect r = option->rect;
        QRect result;
        switch (part) {
        case SC_ComboBoxArrow:
            result = QRect(r.right() - kButtonWidth + 1, r.top(), kButtonWidth, r.height());
            break;
        case SC_ComboBoxEditField:
            result = QRect(r.left() + kFrame, r.top() + kFrame,
                           r.width() - kButtonWidth - 2 * kFrame, r.height() - 2 * kFrame);
            break;
        default:
            return QProxyStyle::subControlRect(control, option, part, widget);
        }
        return visualRect(option->direction, r, result);
    }
};

QStyle *slimButtonStyle()
{
    static SlimButtonStyle *style = new SlimButtonStyle;
    return style;
}

} // namespace

PickList::PickList(const QStringList &items, QWidget *parent)
    : QComboBox(parent)
{
    setStyle(slimButtonStyle());
    setEditable(true);
    setLineEdit(new TypingOnlyEdit(this));
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    // Items first, then no selection, then the text: in this order the field
    // keeps the first item's text while the index stays -1.
    addItems(items);
    setCurrentIndex(-1);
    setEditText(items.value(0));
    connect(this, &QComboBox::activated, this, &PickList::picked);
}

} // namespace isd
