// The window as it opens, its layout, the hexadecimal words, and the rule
// that a list's selection changes only by a pick from the list.
#include "windowtest.h"

#include "window/controltable.h"
#include "model/registerheader.h"

#include <QAccessible>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>

#ifdef Q_OS_WIN
#    include <windows.h>
#endif

using namespace isd;
using namespace testing;

class TestWindow : public WindowTest
{
    Q_OBJECT

private slots:
    void titleAndControls();
    void controlNames_data();
    void controlNames();
    void controlTableFitsTheFields();
    void cellsStartAtZero();
    void wordsBeforeAndAfterFirstTick();
    void idleWindowHasNoTimerRunning();
    void labelGeometry_data();
    void labelGeometry();
    void controlsOnTheDiagram_data();
    void controlsOnTheDiagram();
    void controlsDrawnOverSegments();
    void listDesignState_data();
    void listDesignState();
    void checkBoxDesignState_data();
    void checkBoxDesignState();
    void tabOrder();
    void describedForScreenReaders();

    void typingNeverPicks_data();
    void typingNeverPicks();
    void popupClosedWithoutPickChangesNothing_data();
    void popupClosedWithoutPickChangesNothing();
    void pickSendsOneNotification_data();
    void pickSendsOneNotification();
    void wordFollowsOnTheNextTick();
    void screenReadersAreToldOfEachEdit_data();
    void screenReadersAreToldOfEachEdit();
};

void TestWindow::titleAndControls()
{
    QCOMPARE(w->objectName(), expectedWindow("control"));
    QCOMPARE(w->windowTitle(), expectedWindow("title"));
    QVERIFY(!w->windowIcon().pixmap(32).isNull());
    QVERIFY(w->width() >= 1016 && w->height() >= 741);
    QVERIFY(w->findChild<QTimer *>(expectedWindow("timer")));
    QVERIFY(w->findChild<DiagramView *>(expectedWindow("diagram")));
    for (Register reg : kRegisters) {
        const QString r = registerName(reg);
        const QStringList labels = expectedCells(r) << expectedWord(r);
        for (const QString &name : labels)
            QVERIFY2(w->findChild<QLabel *>(name), qPrintable(name));
        // The header labels carry the headers.
        QCOMPARE(w->findChild<QLabel *>(expectedHeader(r))->text(), registerHeader(reg));
    }
    for (const ExpectedField &f : expectedFields())
        QVERIFY2(f.isList() ? bool(list(*w, f.name)) : bool(box(*w, f.name)), qPrintable(f.name));
    QLabel *link = w->findChild<QLabel *>(expectedWindow("link"));
    QVERIFY(link);
    QVERIFY(link->font().bold() && link->font().underline());
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

// The objectNames the window must carry, by what each control shows or sets.
void TestWindow::controlNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    for (Register reg : kRegisters) {
        const QString r = registerName(reg);
        for (int bit = kBitsPerRegister - 1; bit >= 0; --bit)
            QTest::addRow("%s D%d", qPrintable(r), bit) << cellControl(reg, bit).name << expectedCell(r, bit);
        QTest::addRow("%s word", qPrintable(r)) << wordControl(reg).name << expectedWord(r);
    }
    for (const ExpectedField &f : expectedFields())
        QTest::newRow(qPrintable(f.name)) << fieldControl(modelField(f.name).id).name << f.control;
}

void TestWindow::controlNames()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(name, expected);
    QVERIFY(w->findChild<QWidget *>(name));
}

// The control table fits the field table: every field has one control, of
// the kind the field is edited by, with no more items than the field has
// values; every register bit has one cell and every register one word and
// one header.
void TestWindow::controlTableFitsTheFields()
{
    const std::vector<ControlSpec> &t = controlTable();
    auto count = [&](auto &&pred) { return std::count_if(t.begin(), t.end(), pred); };
    QCOMPARE(int(fields().size()), int(expectedFields().size()));
    for (const Field &f : fields()) {
        const auto sets = [&](const ControlSpec &c) {
            return (c.kind == ControlKind::CheckBox || c.kind == ControlKind::List) && c.field == f.id;
        };
        QVERIFY2(count(sets) == 1, f.name);
        const ControlSpec &c = *std::find_if(t.begin(), t.end(), sets);
        QVERIFY2((c.kind == ControlKind::CheckBox) == f.isCheckBox(), f.name);
        QVERIFY2(c.items.size() <= (1 << f.width), f.name);
    }
    for (Register reg : kRegisters) {
        for (ControlKind kind : {ControlKind::Header, ControlKind::Word})
            QCOMPARE(count([&](const ControlSpec &c) { return c.kind == kind && c.reg == reg; }), 1);
        for (int bit = 0; bit < kBitsPerRegister; ++bit) {
            QCOMPARE(count([&](const ControlSpec &c) { return c.kind == ControlKind::Cell && c.reg == reg && c.bit == bit; }),
                     1);
        }
    }
}

void TestWindow::cellsStartAtZero()
{
    QCOMPARE(allCells(*w), allCellsZero());
}

void TestWindow::wordsBeforeAndAfterFirstTick()
{
    ConfigWindow fresh;
    QCOMPARE(word(fresh, Register::CFG0), QStringLiteral("0x0000"));
    QCOMPARE(word(fresh, Register::CFG1), QStringLiteral("0x0000"));
    QVERIFY(settle(fresh));
    QCOMPARE(word(fresh, Register::CFG0), QStringLiteral("0"));
    QCOMPARE(word(fresh, Register::CFG1), QStringLiteral("0"));
}

void TestWindow::idleWindowHasNoTimerRunning()
{
    // At rest nothing ticks: the open window costs no CPU.
    QVERIFY(settle(*w));
    QTest::qWait(50);
    QVERIFY(!w->findChild<QTimer *>(expectedWindow("timer"))->isActive());
}

void TestWindow::labelGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    for (const auto &[name, rect] : expectedPlaces("window"))
        QTest::newRow(qPrintable(name)) << name << rect;
}

void TestWindow::labelGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    const QWidget *control = w->findChild<QWidget *>(name);
    // On the frame itself it would stand still while the layout scrolls.
    QCOMPARE(control->parentWidget(), w->surface());
    QCOMPARE(control->geometry(), rect);
}

void TestWindow::controlsOnTheDiagram_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("onPicture");   // in the picture's own pixels
    for (const auto &[name, rect] : expectedPlaces("diagram"))
        QTest::newRow(qPrintable(name)) << name << rect;
}

void TestWindow::controlsOnTheDiagram()
{
    // Inside the picture box, positions count from its inner area, where the
    // picture starts.
    QFETCH(QString, name);
    QFETCH(QRect, onPicture);
    const int frame = expectedTable().value("places").toObject().value("frame").toInt();
    QCOMPARE(pictureOrigin(*w), QPoint(frame, frame));
    QWidget *control = w->findChild<QWidget *>(name);
    QCOMPARE(control->parentWidget(), w->diagram());
    QCOMPARE(control->geometry().translated(-pictureOrigin(*w)), onPicture);
}

void TestWindow::controlsDrawnOverSegments()
{
    // Line44, the ARRAY wire into the filter multiplexer, rises through the
    // drop-down button of the S1M list: red below the list, hidden under it.
    clickBox(box(*w, "FLS0"));
    QCOMPARE(w->diagram()->segmentColour(44), SegmentColour::Highlight);
    const QImage shot = w->diagram()->grab().toImage();
    const QPoint origin = pictureOrigin(*w);
    QCOMPARE(shot.pixelColor(origin + QPoint(366, 200)), QColor(255, 0, 0));
    const QColor under = shot.pixelColor(origin + QPoint(366, 154));
    QVERIFY2(under.green() > 100, qPrintable(under.name()));
}

void TestWindow::listDesignState_data()
{
    QTest::addColumn<QString>("field");
    for (const ExpectedField &f : expectedLists())
        QTest::newRow(qPrintable(f.name)) << f.name;
}

void TestWindow::listDesignState()
{
    QFETCH(QString, field);
    PickList *l = list(*w, field);
    const QStringList items = expectedField(field).items;
    QCOMPARE(l->currentIndex(), -1);
    QCOMPARE(l->currentText(), items.first());
    QCOMPARE(itemTexts(l), items);
    QVERIFY(l->isEditable());
}

void TestWindow::checkBoxDesignState_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("checked");
    for (const ExpectedField &f : expectedBoxes())
        QTest::newRow(qPrintable(f.name)) << f.name << f.checkedAtStart();
}

void TestWindow::checkBoxDesignState()
{
    QFETCH(QString, field);
    QFETCH(bool, checked);
    QCOMPARE(box(*w, field)->isChecked(), checked);
    QVERIFY(box(*w, field)->text().isEmpty());   // only the square shows
}

void TestWindow::tabOrder()
{
    // The focus starts on the picture box and comes back to it.
    QStringList expected;
    for (const QString &name : expectedTabOrder())
        expected << (name == expectedWindow("diagram") ? name : expectedField(name).control);
    expected << expected.first();
    QStringList seen{focusedControl()};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << focusedControl();
    }
    QCOMPARE(seen, expected);
    // Tabbing through the lists picked nothing.
    QCOMPARE(allCells(*w), allCellsZero());
}

void TestWindow::describedForScreenReaders()
{
    // Every editing control and bit cell has a name of its own and a
    // description that doubles as its tooltip.
    QStringList names{expectedWindow("diagram")};
    for (const QString &reg : expectedRegisterNames())
        names << expectedHeader(reg) << expectedWord(reg) << expectedCells(reg);
    for (const ExpectedField &f : expectedFields())
        names << f.control;
    QSet<QString> accessibleNames;
    for (const QString &name : names) {
        QWidget *c = w->findChild<QWidget *>(name);
        QVERIFY2(!c->accessibleName().isEmpty(), qPrintable(name));
        QVERIFY2(!c->accessibleDescription().isEmpty(), qPrintable(name));
        if (name != expectedWindow("diagram"))
            QCOMPARE(c->toolTip(), c->accessibleDescription());
        accessibleNames.insert(c->accessibleName());
    }
    QCOMPARE(accessibleNames.size(), names.size());
    QCOMPARE(w->findChild<QWidget *>(expectedCell("CFG0", 13))->accessibleName(), QStringLiteral("CFG0 D13 AIPD"));
    QCOMPARE(w->diagram()->accessibleName(), QStringLiteral("Signal-path diagram"));
    QCOMPARE(w->findChild<QWidget *>(expectedWord("CFG1"))->accessibleName(), QStringLiteral("CFG1 hexadecimal word"));
}

// How the user ends typing into a list's field.
enum class TypingEnd { Enter, Return, Tab, ClickElsewhere, OpenPopup, Escape };
Q_DECLARE_METATYPE(TypingEnd)

void TestWindow::typingNeverPicks_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("startIndex");   // -1: nothing picked yet
    QTest::addColumn<QString>("typed");
    QTest::addColumn<TypingEnd>("end");

    const QList<QPair<const char *, TypingEnd>> ends{
        {"Enter", TypingEnd::Enter}, {"Return", TypingEnd::Return}, {"Tab", TypingEnd::Tab},
        {"click elsewhere", TypingEnd::ClickElsewhere}, {"open popup", TypingEnd::OpenPopup},
        {"Escape", TypingEnd::Escape}};
    for (const auto &end : ends) {
        QTest::addRow("AXG exact last item, %s", end.first) << "AXG" << -1 << expectedField("AXG").items.last() << end.second;
        QTest::addRow("AOS exact item SUM2 after INP, %s", end.first) << "AOS" << 1 << expectedField("AOS").items.at(5) << end.second;
        QTest::addRow("OPA Cyrillic item, %s", end.first) << "OPA" << -1 << expectedField("OPA").items.at(0) << end.second;
        QTest::addRow("S1M prefix of an item, %s", end.first) << "S1M" << -1 << "SU" << end.second;
        QTest::addRow("FLD no item, %s", end.first) << "FLD" << 2 << "12 kHz" << end.second;
    }
}

void TestWindow::typingNeverPicks()
{
    QFETCH(QString, field);
    QFETCH(int, startIndex);
    QFETCH(QString, typed);
    QFETCH(TypingEnd, end);

    PickList *l = list(*w, field);
    if (startIndex >= 0)
        QVERIFY(pickInPopup(l, startIndex));
    QVERIFY(settle(*w));
    const QStringList cellsBefore = allCells(*w);
    const QStringList itemsBefore = itemTexts(l);
    QSignalSpy picks(l, &PickList::picked);
    QSignalSpy activations(l, &QComboBox::activated);

    l->setFocus();
    l->lineEdit()->selectAll();
    typeText(l->lineEdit(), typed);
    QCOMPARE(l->currentText(), typed);   // no completion of a prefix
    switch (end) {
    case TypingEnd::Enter:
        QTest::keyClick(l->lineEdit(), Qt::Key_Enter);
        break;
    case TypingEnd::Return:
        QTest::keyClick(l->lineEdit(), Qt::Key_Return);
        break;
    case TypingEnd::Escape:
        QTest::keyClick(l->lineEdit(), Qt::Key_Escape);
        break;
    case TypingEnd::Tab:
        QTest::keyClick(l->lineEdit(), Qt::Key_Tab);
        QVERIFY(!l->hasFocus());
        break;
    case TypingEnd::ClickElsewhere: {
        QWidget *other = w->diagram();
        QTest::mouseClick(other, Qt::LeftButton, {}, QPoint(900, 600));
        QTRY_VERIFY(!l->hasFocus());
        break;
    }
    case TypingEnd::OpenPopup:
        l->showPopup();
        QVERIFY(popupShown(l));
        QTest::keyClick(l->view(), Qt::Key_Escape);
        QVERIFY(popupHidden(l));
        break;
    }
    QVERIFY(settle(*w));

    QCOMPARE(picks.count(), 0);
    QCOMPARE(activations.count(), 0);
    QCOMPARE(l->currentIndex(), startIndex);
    QCOMPARE(itemTexts(l), itemsBefore);
    QCOMPARE(allCells(*w), cellsBefore);
}

enum class PopupClose { Hide, Escape, AltDown, F4 };
Q_DECLARE_METATYPE(PopupClose)

void TestWindow::popupClosedWithoutPickChangesNothing_data()
{
    QTest::addColumn<PopupClose>("close");
    QTest::newRow("closed by the program") << PopupClose::Hide;
    QTest::newRow("Escape") << PopupClose::Escape;
    QTest::newRow("Alt+Down") << PopupClose::AltDown;
    QTest::newRow("F4") << PopupClose::F4;
}

// Moving the highlight in the opened list is not a pick: however the list
// closes without Return, Enter or a click on an item, nothing changes.
void TestWindow::popupClosedWithoutPickChangesNothing()
{
    QFETCH(PopupClose, close);
    PickList *l = list(*w, "VLS");
    const QStringList cellsBefore = allCells(*w);
    QSignalSpy picks(l, &PickList::picked);
    l->setFocus();
    QTest::keyClick(l, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(popupShown(l));
    QTest::keyClick(l->view(), Qt::Key_Down);
    QTest::keyClick(l->view(), Qt::Key_Down);
    switch (close) {
    case PopupClose::Hide: l->hidePopup(); break;
    case PopupClose::Escape: QTest::keyClick(l->view(), Qt::Key_Escape); break;
    case PopupClose::AltDown: QTest::keyClick(l->view(), Qt::Key_Down, Qt::AltModifier); break;
    case PopupClose::F4: QTest::keyClick(l->view(), Qt::Key_F4); break;
    }
    QVERIFY(popupHidden(l));
    QVERIFY(settle(*w));
    QCOMPARE(picks.count(), 0);
    QCOMPARE(l->currentIndex(), -1);
    QCOMPARE(l->currentText(), expectedField("VLS").items.first());
    QCOMPARE(allCells(*w), cellsBefore);
}

enum class PickWay { PopupMouse, PopupKeyboard, ClosedBoxKeys, PageDown, Wheel };
Q_DECLARE_METATYPE(PickWay)

void TestWindow::pickSendsOneNotification_data()
{
    QTest::addColumn<PickWay>("way");
    QTest::addColumn<int>("index");
    QTest::newRow("popup, mouse") << PickWay::PopupMouse << 2;
    QTest::newRow("popup, keyboard") << PickWay::PopupKeyboard << 1;
    QTest::newRow("closed box, Down twice") << PickWay::ClosedBoxKeys << 1;
    QTest::newRow("closed box, PageDown") << PickWay::PageDown << 0;
    QTest::newRow("wheel on the focused list, one notch down") << PickWay::Wheel << 0;
}

void TestWindow::pickSendsOneNotification()
{
    QFETCH(PickWay, way);
    QFETCH(int, index);
    PickList *l = list(*w, "OPS");
    QSignalSpy picks(l, &PickList::picked);
    int expectedPicks = 1;

    switch (way) {
    case PickWay::PopupMouse:
        QVERIFY(pickInPopup(l, index));
        break;
    case PickWay::PopupKeyboard:
        l->setFocus();
        QVERIFY(pickInPopupByKeys(l, index));
        break;
    case PickWay::ClosedBoxKeys:
        pickByKeys(l, index);
        expectedPicks = index + 1;   // every step is a pick
        break;
    case PickWay::PageDown:
        l->setFocus();
        QTest::keyClick(l, Qt::Key_PageDown);
        break;
    case PickWay::Wheel:
        l->setFocus();
        turnWheel(l->lineEdit(), -120);
        break;
    }
    QCOMPARE(l->currentIndex(), index);
    QCOMPARE(picks.count(), expectedPicks);
}

void TestWindow::wordFollowsOnTheNextTick()
{
    QVERIFY(settle(*w));
    pickByKeys(list(*w, "OPS"), 3);   // OPS = 11: CFG0 D4, D3
    // The cells change with the pick; the word only at the next tick.
    QCOMPARE(cellText(*w, Register::CFG0, 4), QStringLiteral("1"));
    QCOMPARE(word(*w, Register::CFG0), QStringLiteral("0"));
    QVERIFY(settle(*w));
    QCOMPARE(word(*w, Register::CFG0), QStringLiteral("18"));
}

namespace {

// What the platform's accessibility bridge (UI Automation, AT-SPI) is told,
// recorded in its place.
struct Told {
    QStringList announced; // through Qt's announcement
    QStringList notified;  // through a notification shown
    QObjectList checkedChanged;
    QStringList values;
};
Told *told = nullptr;

void listen(QAccessibleEvent *event)
{
    QAccessibleInterface *iface = event->accessibleInterface();
    switch (event->type()) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    case QAccessible::Announcement:
        told->announced << static_cast<QAccessibleAnnouncementEvent *>(event)->message();
        break;
#endif
    case QAccessible::ObjectShow: // a notification shown says its name
        if (iface && iface->role() == QAccessible::Notification)
            told->notified << iface->text(QAccessible::Name);
        break;
    case QAccessible::StateChanged:
        if (static_cast<QAccessibleStateChangeEvent *>(event)->changedStates().checked)
            told->checkedChanged << event->object();
        break;
    case QAccessible::ValueChanged:
        told->values << static_cast<QAccessibleValueChangeEvent *>(event)->value().toString();
        break;
    default:
        break;
    }
}

// A screen reader's first request turns the platform's accessibility on,
// as UI Automation's does on Windows. False where the platform has none
// (offscreen).
bool screenReaderAsks(QWidget *window)
{
#ifdef Q_OS_WIN
    const LPARAM uiaRootObjectId = -25;
    SendMessageW(HWND(window->winId()), WM_GETOBJECT, 0, uiaRootObjectId);
#else
    Q_UNUSED(window);
#endif
    return QAccessible::isActive();
}

} // namespace

enum class Edit { Click, PickInPopup, Type };

// Each edit tells screen readers of the box's new state or the list's new
// value and announces the edited register's new word once; typing tells
// nothing. What UI Automation's Toggle and Value patterns read is what
// Qt's interface answers: the checked state of a checkable box, the list's
// Value text.
void TestWindow::screenReadersAreToldOfEachEdit_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("announced");
    QTest::newRow("INS0 box clicked") << Edit::Click << "INS0" << -1 << QStringList{"CFG0 hex 200"};
    QTest::newRow("AGPD box clicked") << Edit::Click << "AGPD" << -1 << QStringList{"CFG1 hex 1"};
    QTest::newRow("AOS item 2 picked") << Edit::PickInPopup << "AOS" << 2 << QStringList{"CFG0 hex 80"};
    QTest::newRow("VLS item 1 picked") << Edit::PickInPopup << "VLS" << 1 << QStringList{"CFG1 hex 4000"};
    QTest::newRow("typed into AOS") << Edit::Type << "AOS" << -1 << QStringList();
}

void TestWindow::screenReadersAreToldOfEachEdit()
{
    QFETCH(Edit, edit);
    QFETCH(QString, field);
    QFETCH(int, index);
    QFETCH(QStringList, announced);
    QVERIFY(settle(*w));
    if (!screenReaderAsks(w.get()))
        QSKIP("no accessibility bridge on this platform");
    Told heard;
    told = &heard;
    QAccessible::installUpdateHandler(listen);
    const auto stopListening = qScopeGuard([] {
        QAccessible::installUpdateHandler(nullptr);
        told = nullptr;
    });

    QWidget *control = edit == Edit::Click ? static_cast<QWidget *>(box(*w, field)) : list(*w, field);
    switch (edit) {
    case Edit::Click:
        clickBox(box(*w, field));
        break;
    case Edit::PickInPopup:
        QVERIFY(pickInPopup(list(*w, field), index));
        break;
    case Edit::Type:
        control->setFocus();
        typeText(focusIn(control), QStringLiteral("SUM"));
        break;
    }
    QVERIFY(settle(*w));
    // One way only: Qt's announcement where Qt has it, which UI Automation
    // raises as a notification; before Qt 6.8 a notification shown.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QCOMPARE(heard.announced, announced);
    QCOMPARE(heard.notified, QStringList());
#else
    QCOMPARE(heard.notified, announced);
#endif

    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
    if (edit == Edit::Click) {
        QVERIFY(iface->state().checkable);
        QCOMPARE(bool(iface->state().checked), box(*w, field)->isChecked());
        QCOMPARE(heard.checkedChanged, QObjectList{control});
    } else {
        const QString picked = index < 0 ? QString() : list(*w, field)->itemText(index);
        if (index >= 0)
            QCOMPARE(iface->text(QAccessible::Value), picked);
        QCOMPARE(heard.values, index < 0 ? QStringList() : QStringList{picked});
    }
}

ISD5116_WINDOW_TEST_MAIN(TestWindow)
#include "tst_window.moc"
