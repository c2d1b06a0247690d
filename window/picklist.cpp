#include "window/picklist.h"

#include "window/layoutstyle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <cstdlib>

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

} // namespace

PickList::PickList(const QStringList &items, QWidget *parent)
    : QComboBox(parent)
{
    if (QStyle *style = layoutStyle())
        setStyle(style);
    setEditable(true);
    setLineEdit(new TypingOnlyEdit(this));
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    // A wheel turn over the list does not take the focus (and then pick).
    setFocusPolicy(Qt::StrongFocus);
    // Items first, then no selection, then the text: in this order the field
    // keeps the first item's text while the index stays -1.
    addItems(items);
    setCurrentIndex(-1);
    setEditText(items.value(0));
    connect(this, &QComboBox::activated, this, &PickList::picked);
    // Ahead of the popup's own filter, which is installed with the view.
    view()->installEventFilter(this);
}

bool PickList::eventFilter(QObject *watched, QEvent *event)
{
    // F4 and Alt+Down close the opened list as Escape does. Qt 6.8 makes them
    // pick the highlighted item, but moving the highlight is not a pick: only
    // Return, Enter or a click on an item picks. The popup acts on the key
    // when it is offered as a shortcut, before it is pressed.
    const QEvent::Type type = event->type();
    if (watched == view() && (type == QEvent::ShortcutOverride || type == QEvent::KeyPress)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool alt = key->modifiers() & Qt::AltModifier;
        if ((key->key() == Qt::Key_F4 && !alt) || (key->key() == Qt::Key_Down && alt)) {
            hidePopup();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void PickList::wheelEvent(QWheelEvent *event)
{
    // As on the desktop this layout comes from, only the list with the focus
    // picks, one item per whole notch; a touchpad's small steps add up to a
    // notch. Any other wheel turn goes on to the window, which scrolls.
    const QWidget *focus = QApplication::focusWidget();
    const bool focused = focus && (focus == this || isAncestorOf(focus));
    const int angle = event->angleDelta().y();
    if (!focused || angle == 0) {
        if (!focused)
            m_wheelAngle = 0;
        event->ignore();
        return;
    }
    constexpr int kNotch = QWheelEvent::DefaultDeltasPerStep;
    if ((angle > 0) != (m_wheelAngle > 0))
        m_wheelAngle = 0;   // turning back starts afresh
    m_wheelAngle += angle;
    while (std::abs(m_wheelAngle) >= kNotch) {
        const int notch = m_wheelAngle > 0 ? kNotch : -kNotch;
        m_wheelAngle -= notch;
        QWheelEvent step(event->position(), event->globalPosition(), QPoint(), QPoint(0, notch),
                         event->buttons(), event->modifiers(), Qt::NoScrollPhase, event->inverted());
        QComboBox::wheelEvent(&step);
    }
    event->accept();
}

void PickList::focusOutEvent(QFocusEvent *event)
{
    m_wheelAngle = 0;
    QComboBox::focusOutEvent(event);
}

} // namespace isd
