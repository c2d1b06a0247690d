#pragma once

// Shared helpers for tests that drive the real window as a user does.

#include "window/configwindow.h"
#include "window/controltable.h"
#include "window/diagramview.h"
#include "window/picklist.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QLabel>
#include <QTest>
#include <QTimer>

namespace testing {

inline QString cellText(const isd::ConfigWindow &w, isd::Register reg, int bit)
{
    return w.findChild<QLabel *>(isd::cellControl(reg, bit).name)->text();
}

inline QString word(const isd::ConfigWindow &w, isd::Register reg)
{
    return w.findChild<QLabel *>(isd::wordControl(reg).name)->text();
}

inline isd::PickList *list(const isd::ConfigWindow &w, const QString &name)
{
    return w.findChild<isd::PickList *>(name);
}

inline QCheckBox *box(const isd::ConfigWindow &w, const QString &name)
{
    return w.findChild<QCheckBox *>(name);
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

// Lets Timer1 tick until it rests, returning as soon as it does. False if it
// is still running after the timeout.
inline bool settleNow(const isd::ConfigWindow &w, int timeoutMs = 5000)
{
    auto *timer = w.findChild<QTimer *>(QStringLiteral("Timer1"));
    const QDeadlineTimer deadline(timeoutMs);
    // An active timer always brings an event, so the wait cannot hang.
    while (timer->isActive() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return !timer->isActive();
}

// Lets Timer1 tick until it rests, so both words show the cells.
inline void settle(const isd::ConfigWindow &w)
{
    QVERIFY(settleNow(w));
}

// A pick with the mouse: open the popup and click the item.
inline void pickInPopup(isd::PickList *list, int index)
{
    list->showPopup();
    QAbstractItemView *view = list->view();
    QTRY_VERIFY(view->isVisible());
    const QRect item = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_VERIFY(!view->isVisible());
}

// A pick with the keyboard on the closed box: from no selection, Down
// selects the first item.
inline void pickByKeys(isd::PickList *list, int index)
{
    list->setFocus();
    int steps = index - list->currentIndex();
    const Qt::Key key = steps > 0 ? Qt::Key_Down : Qt::Key_Up;
    for (int i = 0; i < std::abs(steps); ++i)
        QTest::keyClick(list, key);
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

} // namespace testing
