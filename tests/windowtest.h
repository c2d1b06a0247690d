#pragma once

// The fixture of the tests that drive the real window as a user does: the
// application set up as the program sets it up, the window opened as the
// program opens it, and the user's gestures. Helpers that can fail return
// false (or nullptr); the caller QVERIFYs them, so a failure stops the test.

#include "expectedtable.h"

#include "window/application.h"
#include "window/configwindow.h"
#include "window/controltable.h"
#include "window/diagramview.h"
#include "window/picklist.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <functional>
#include <memory>

// main() of a window suite: the application as the program's main() sets it
// up (style, font, desktop entry, translations), then the test object.
#define ISD5116_WINDOW_TEST_MAIN(TestObject)                                                       \
    int main(int argc, char *argv[])                                                              \
    {                                                                                             \
        QApplication app(argc, argv);                                                             \
        isd::setUpApplication(app);                                                               \
        TestObject tc;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                \
        return QTest::qExec(&tc, argc, argv);                                                     \
    }

namespace testing {

// Waits, without a fixed sleep, until the condition holds; false if it
// still does not after the timeout.
inline bool waitFor(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The window as the program shows it, active; on the screen given, as when
// the user starts it with the mouse pointer there. Null if it does not
// become active.
inline std::unique_ptr<isd::ConfigWindow> openWindow(QScreen *screen = nullptr)
{
    if (screen)
        QCursor::setPos(screen->geometry().center());
    auto w = std::make_unique<isd::ConfigWindow>();
    w->show();
    if (!QTest::qWaitForWindowActive(w.get()))
        return nullptr;
    return w;
}

// The base of a suite whose every test function starts on a window of its
// own, opened as above and closed after the function.
class WindowTest : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<isd::ConfigWindow> w;

private slots:
    void init()
    {
        w = openWindow();
        QVERIFY(w);
    }
    void cleanup() { w.reset(); }
};

inline QString cellText(const isd::ConfigWindow &w, isd::Register reg, int bit)
{
    return w.findChild<QLabel *>(isd::cellControl(reg, bit).name)->text();
}

inline QString word(const isd::ConfigWindow &w, isd::Register reg)
{
    return w.findChild<QLabel *>(isd::wordControl(reg).name)->text();
}

// The controls of a field, by the field's name (AOS, VLPD).
inline isd::PickList *list(const isd::ConfigWindow &w, const QString &field)
{
    return w.findChild<isd::PickList *>(expectedField(field).control);
}

inline QCheckBox *box(const isd::ConfigWindow &w, const QString &field)
{
    return w.findChild<QCheckBox *>(expectedField(field).control);
}

inline QStringList itemTexts(const QComboBox *l)
{
    QStringList items;
    for (int i = 0; i < l->count(); ++i)
        items << l->itemText(i);
    return items;
}

// All 32 cell texts: CFG0 D15 to D0, then CFG1 D15 to D0.
inline QStringList allCells(const isd::ConfigWindow &w)
{
    QStringList cells;
    for (isd::Register reg : isd::kRegisters) {
        for (int bit = isd::kBitsPerRegister - 1; bit >= 0; --bit)
            cells << cellText(w, reg, bit);
    }
    return cells;
}

inline QStringList allCellsZero()
{
    int count = 0;
    for (const QString &reg : expectedRegisterNames())
        count += int(expectedCells(reg).size());
    return QStringList(count, QStringLiteral("0"));
}

// Lets Timer1 tick until it rests, so both words show the cells. False if
// it is still running after the timeout. Not a wait for the next event: a
// timer's event can come late (Wine 8 wakes a waiting thread for it only now
// and then), and the wait must end at its timeout.
[[nodiscard]] inline bool settle(const isd::ConfigWindow &w, int timeoutMs = 5000)
{
    auto *timer = w.findChild<QTimer *>(expectedWindow("timer"));
    return waitFor([timer] { return !timer->isActive(); }, timeoutMs);
}

[[nodiscard]] inline bool popupShown(const isd::PickList *l)
{
    return waitFor([l] { return l->view()->isVisible(); });
}

[[nodiscard]] inline bool popupHidden(const isd::PickList *l)
{
    return waitFor([l] { return !l->view()->isVisible(); });
}

// A pick with the mouse: open the popup and click the item.
[[nodiscard]] inline bool pickInPopup(isd::PickList *l, int index)
{
    l->showPopup();
    if (!popupShown(l))
        return false;
    QAbstractItemView *view = l->view();
    const QRect item = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    return popupHidden(l);
}

// The widget that has the focus on behalf of a control (the control or,
// for a list, its field), or nullptr when the focus is elsewhere. Keys go
// there, as a user's keys do.
inline QWidget *focusIn(QWidget *control)
{
    QWidget *f = QApplication::focusWidget();
    return f && (f == control || control->isAncestorOf(f)) ? f : nullptr;
}

// A pick with the keyboard in the popup: F4 (or Alt+Down) on the focused
// list, Home, Down to the item, Return.
[[nodiscard]] inline bool pickInPopupByKeys(isd::PickList *l, int index, bool altDown = false)
{
    QWidget *keys = focusIn(l);
    if (!keys)
        return false;
    if (altDown)
        QTest::keyClick(keys, Qt::Key_Down, Qt::AltModifier);
    else
        QTest::keyClick(keys, Qt::Key_F4);
    if (!popupShown(l))
        return false;
    QTest::keyClick(l->view(), Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(l->view(), Qt::Key_Down);
    QTest::keyClick(l->view(), Qt::Key_Return);
    return popupHidden(l);
}

// A pick with the keyboard on the closed box: from no selection, Down
// selects the first item.
inline void pickByKeys(isd::PickList *l, int index)
{
    l->setFocus();
    const int steps = index - l->currentIndex();
    const Qt::Key key = steps > 0 ? Qt::Key_Down : Qt::Key_Up;
    for (int i = 0; i < std::abs(steps); ++i)
        QTest::keyClick(l, key);
}

// The wheel turned over a widget as the system delivers it: spontaneous,
// so that a list's field passes it on to its list.
inline void turnWheel(QWidget *under, int angle)
{
    const QPointF at(under->width() / 2.0, under->height() / 2.0);
    QWheelEvent wheel(at, under->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(under, &wheel);
}

// Types text as a keyboard or an input method delivers it: one key press per
// Unicode code point, so a character beyond the 16-bit range (an emoji)
// arrives whole, both halves of its surrogate pair in one event.
inline void typeText(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size()
                          && text.at(i + 1).isLowSurrogate();
        const QString unit = text.mid(i, pair ? 2 : 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, unit);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, unit);
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
        i += unit.size();
    }
}

// A click on a check box, in its square.
inline void clickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// The control that has the focus: an editable list's field takes it on
// behalf of its list. Its objectName, empty when nothing has the focus.
inline QString focusedControl()
{
    QWidget *focus = QApplication::focusWidget();
    while (focus && focus->objectName().isEmpty())
        focus = focus->parentWidget();
    return focus ? focus->objectName() : QString();
}

// Tab from the focused control until the target has the focus, at most
// once round the window. False if it never does.
[[nodiscard]] inline bool tabTo(const QWidget *target)
{
    for (int i = 0; i <= expectedTabOrder().size() && !target->hasFocus(); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return target->hasFocus();
}

// Where the diagram picture's top-left pixel lies in the picture box.
inline QPoint pictureOrigin(const isd::ConfigWindow &w)
{
    return w.diagram()->pictureToWidget({0, 0}).toPoint();
}

} // namespace testing
