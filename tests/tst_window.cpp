// The window as it opens, its layout, the hexadecimal words, and the rule
// that a list's selection changes only by a pick from the list.
#include "windowtest.h"

#include "window/controltable.h"
#include "model/registerheader.h"

#include <QApplication>
#include <QSet>
#include <QSignalSpy>
#include <QWheelEvent>

using namespace isd;
using namespace testing;

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void titleAndControls();
    void controlNames_data();
    void controlNames();
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

private:
    ConfigWindow *w = nullptr;
};

void TestWindow::init()
{
    w = new ConfigWindow;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void TestWindow::cleanup()
{
    delete w;
    w = nullptr;
}

void TestWindow::titleAndControls()
{
    QCOMPARE(w->objectName(), QStringLiteral("Form1"));
    QCOMPARE(w->windowTitle(),
             QStringLiteral("Программа установки Конфигурационных бит для микросхемы ISD5116"));
    QVERIFY(!w->windowIcon().pixmap(32).isNull());
    QVERIFY(w->width() >= 1016 && w->height() >= 741);
    QVERIFY(w->findChild<QTimer *>(QStringLiteral("Timer1")));
    QVERIFY(w->findChild<DiagramView *>(QStringLiteral("Picture1")));
    for (int n = 1; n <= 37; ++n)
        QVERIFY2(w->findChild<QLabel *>(QStringLiteral("Label%1").arg(n)), qPrintable(QString::number(n)));
    for (int n = 1; n <= 8; ++n)
        QVERIFY(box(*w, QStringLiteral("Check%1").arg(n)));
    for (int n = 1; n <= 11; ++n)
        QVERIFY(list(*w, QStringLiteral("Combo%1").arg(n)));
    // Labels 1, 2 and 37 carry the headers and the link text.
    QCOMPARE(w->findChild<QLabel *>("Label1")->text(), registerHeader(Register::CFG0));
    QCOMPARE(w->findChild<QLabel *>("Label2")->text(), registerHeader(Register::CFG1));
    QLabel *link = w->findChild<QLabel *>("Label37");
    QVERIFY(link->font().bold() && link->font().underline());
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

// The objectNames the window must carry, by what each control shows or sets.
void TestWindow::controlNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    for (int i = 0; i < 16; ++i) {
        const int bit = 15 - i;
        QTest::addRow("CFG0 D%d", bit) << cellControl(Register::CFG0, bit).name << QStringLiteral("Label%1").arg(3 + i);
        QTest::addRow("CFG1 D%d", bit) << cellControl(Register::CFG1, bit).name << QStringLiteral("Label%1").arg(19 + i);
    }
    QTest::newRow("CFG0 word") << wordControl(Register::CFG0).name << "Label35";
    QTest::newRow("CFG1 word") << wordControl(Register::CFG1).name << "Label36";
    const QList<QPair<FieldId, const char *>> editors{
        {FieldId::AGPD, "Check1"}, {FieldId::AXPD, "Check2"}, {FieldId::AIPD, "Check3"},
        {FieldId::INS0, "Check4"}, {FieldId::FLS0, "Check5"}, {FieldId::FLPD, "Check6"},
        {FieldId::VLPD, "Check7"}, {FieldId::AOPD, "Check8"}, {FieldId::AXG, "Combo1"},
        {FieldId::AIG, "Combo2"}, {FieldId::S1S, "Combo3"}, {FieldId::S1M, "Combo4"},
        {FieldId::VLS, "Combo5"}, {FieldId::FLD, "Combo6"}, {FieldId::S2M, "Combo7"},
        {FieldId::VOL, "Combo8"}, {FieldId::AOS, "Combo9"}, {FieldId::OPS, "Combo10"},
        {FieldId::OPA, "Combo11"}};
    for (const auto &[id, name] : editors)
        QTest::newRow(field(id).name) << fieldControl(id).name << name;
}

void TestWindow::controlNames()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(name, expected);
    QVERIFY(w->findChild<QWidget *>(name));
}

void TestWindow::cellsStartAtZero()
{
    QCOMPARE(allCells(*w), QStringList(32, QStringLiteral("0")));
}

void TestWindow::wordsBeforeAndAfterFirstTick()
{
    ConfigWindow fresh;
    QCOMPARE(word(fresh, Register::CFG0), QStringLiteral("0x0000"));
    QCOMPARE(word(fresh, Register::CFG1), QStringLiteral("0x0000"));
    settle(fresh);
    QCOMPARE(word(fresh, Register::CFG0), QStringLiteral("0"));
    QCOMPARE(word(fresh, Register::CFG1), QStringLiteral("0"));
}

void TestWindow::idleWindowHasNoTimerRunning()
{
    // At rest nothing ticks: the open window costs no CPU.
    settle(*w);
    QTest::qWait(50);
    QVERIFY(!w->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
}

void TestWindow::labelGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("Label1") << "Label1" << QRect(0, 0, 793, 25);
    QTest::newRow("Label2") << "Label2" << QRect(0, 56, 801, 25);
    QTest::newRow("Label3 CFG0 D15") << "Label3" << QRect(48, 32, 9, 17);
    QTest::newRow("Label8 CFG0 D10") << "Label8" << QRect(256, 32, 9, 17);
    QTest::newRow("Label18 CFG0 D0") << "Label18" << QRect(688, 32, 9, 17);
    QTest::newRow("Label19 CFG1 D15") << "Label19" << QRect(48, 88, 9, 17);
    QTest::newRow("Label34 CFG1 D0") << "Label34" << QRect(688, 88, 9, 17);
    QTest::newRow("Label35") << "Label35" << QRect(728, 32, 41, 17);
    QTest::newRow("Label36") << "Label36" << QRect(728, 88, 41, 17);
    QTest::newRow("Label37") << "Label37" << QRect(784, 8, 241, 25);
    QTest::newRow("Picture1") << "Picture1" << QRect(0, 104, 1015, 637);
}

void TestWindow::labelGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    QCOMPARE(w->findChild<QWidget *>(name)->geometry(), rect);
}

void TestWindow::controlsOnTheDiagram_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("onPicture");   // in the picture's own pixels
    QTest::newRow("Combo4") << "Combo4" << QRect(QPoint(280, 144), QPoint(368, 164));
    QTest::newRow("Combo11") << "Combo11" << QRect(808, 448, 105, 21);
    QTest::newRow("Check1") << "Check1" << QRect(104, 128, 17, 13);
    QTest::newRow("Check8") << "Check8" << QRect(808, 160, 17, 17);
}

void TestWindow::controlsOnTheDiagram()
{
    // Inside the picture box, positions count from its inner area, where the
    // picture starts.
    QFETCH(QString, name);
    QFETCH(QRect, onPicture);
    QWidget *control = w->findChild<QWidget *>(name);
    QCOMPARE(control->parentWidget(), w->diagram());
    const QPoint origin = w->diagram()->pictureToWidget({0, 0}).toPoint();
    QCOMPARE(control->geometry().translated(-origin), onPicture);
}

void TestWindow::controlsDrawnOverSegments()
{
    // Line44, the ARRAY wire into the filter multiplexer, rises through the
    // drop-down button of Combo4: red below the list, hidden under it.
    clickBox(box(*w, "Check5"));
    QCOMPARE(w->diagram()->segmentColour(44), SegmentColour::Highlight);
    const QImage shot = w->diagram()->grab().toImage();
    const QPoint origin = w->diagram()->pictureToWidget({0, 0}).toPoint();
    QCOMPARE(shot.pixelColor(origin + QPoint(366, 200)), QColor(255, 0, 0));
    const QColor under = shot.pixelColor(origin + QPoint(366, 154));
    QVERIFY2(under.green() > 100, qPrintable(under.name()));
}

void TestWindow::listDesignState_data()
{
    QTest::addColumn<QString>("name");
    for (const ControlSpec &c : controlTable()) {
        if (c.kind == ControlKind::List)
            QTest::newRow(qPrintable(c.name)) << c.name;
    }
}

void TestWindow::listDesignState()
{
    QFETCH(QString, name);
    PickList *l = list(*w, name);
    const ControlSpec &design = control(name);
    QCOMPARE(l->currentIndex(), -1);
    QCOMPARE(l->currentText(), design.items.first());
    QCOMPARE(l->count(), int(design.items.size()));
    for (int i = 0; i < l->count(); ++i)
        QCOMPARE(l->itemText(i), design.items.at(i));
    QVERIFY(l->isEditable());
}

void TestWindow::checkBoxDesignState_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("checked");
    QTest::newRow("Check1 AGPD") << "Check1" << true;
    QTest::newRow("Check2 AXPD") << "Check2" << true;
    QTest::newRow("Check3 AIPD") << "Check3" << true;
    QTest::newRow("Check4 INS0") << "Check4" << false;
    QTest::newRow("Check5 FLS0") << "Check5" << false;
    QTest::newRow("Check6 FLPD") << "Check6" << true;
    QTest::newRow("Check7 VLPD") << "Check7" << true;
    QTest::newRow("Check8 AOPD") << "Check8" << true;
}

void TestWindow::checkBoxDesignState()
{
    QFETCH(QString, name);
    QFETCH(bool, checked);
    QCOMPARE(box(*w, name)->isChecked(), checked);
    QVERIFY(box(*w, name)->text().isEmpty());   // only the square shows
}

void TestWindow::tabOrder()
{
    const QStringList expected{
        "Picture1", "Check1", "Combo1", "Check2", "Check3", "Combo2", "Check4",
        "Combo3", "Combo4", "Check5", "Combo5", "Combo6", "Check6", "Combo7",
        "Check7", "Combo8", "Combo9", "Combo10", "Check8", "Combo11", "Picture1"};
    QStringList seen{QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString()};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        // An editable list's field takes the focus on behalf of its list.
        while (focus && focus->objectName().isEmpty())
            focus = focus->parentWidget();
        seen << (focus ? focus->objectName() : QString());
    }
    QCOMPARE(seen, expected);
    // Tabbing through the lists picked nothing.
    QCOMPARE(allCells(*w), QStringList(32, QStringLiteral("0")));
}

void TestWindow::describedForScreenReaders()
{
    // Every editing control and bit cell has a name of its own and a
    // description that doubles as its tooltip.
    QStringList names{"Picture1", "Label1", "Label2", "Label35", "Label36"};
    for (int n = 3; n <= 34; ++n)
        names << QStringLiteral("Label%1").arg(n);
    for (int n = 1; n <= 8; ++n)
        names << QStringLiteral("Check%1").arg(n);
    for (int n = 1; n <= 11; ++n)
        names << QStringLiteral("Combo%1").arg(n);
    QSet<QString> accessibleNames;
    for (const QString &name : names) {
        QWidget *c = w->findChild<QWidget *>(name);
        QVERIFY2(!c->accessibleName().isEmpty(), qPrintable(name));
        QVERIFY2(!c->accessibleDescription().isEmpty(), qPrintable(name));
        if (name != QLatin1String("Picture1"))
            QCOMPARE(c->toolTip(), c->accessibleDescription());
        accessibleNames.insert(c->accessibleName());
    }
    QCOMPARE(accessibleNames.size(), names.size());
    QCOMPARE(w->findChild<QWidget *>("Label5")->accessibleName(), QStringLiteral("CFG0 D13 AIPD"));
    QCOMPARE(w->findChild<QWidget *>("Picture1")->accessibleName(), QStringLiteral("Signal-path diagram"));
    QCOMPARE(w->findChild<QWidget *>("Label36")->accessibleName(), QStringLiteral("CFG1 hexadecimal word"));
}

// How the user ends typing into a list's field.
enum class TypingEnd { Enter, Return, Tab, ClickElsewhere, OpenPopup, Escape };
Q_DECLARE_METATYPE(TypingEnd)

void TestWindow::typingNeverPicks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("startIndex");   // -1: nothing picked yet
    QTest::addColumn<QString>("typed");
    QTest::addColumn<TypingEnd>("end");

    const QList<QPair<const char *, TypingEnd>> ends{
        {"Enter", TypingEnd::Enter}, {"Return", TypingEnd::Return}, {"Tab", TypingEnd::Tab},
        {"click elsewhere", TypingEnd::ClickElsewhere}, {"open popup", TypingEnd::OpenPopup},
        {"Escape", TypingEnd::Escape}};
    for (const auto &end : ends) {
        QTest::addRow("Combo1 exact item 2.82, %s", end.first) << "Combo1" << -1 << "2.82" << end.second;
        QTest::addRow("Combo9 exact item SUM2 after INP, %s", end.first) << "Combo9" << 1 << "SUM2" << end.second;
        QTest::addRow("Combo11 Cyrillic item, %s", end.first) << "Combo11" << -1 << "Выкл" << end.second;
        QTest::addRow("Combo4 prefix of an item, %s", end.first) << "Combo4" << -1 << "SU" << end.second;
        QTest::addRow("Combo6 no item, %s", end.first) << "Combo6" << 2 << "12 kHz" << end.second;
    }
}

void TestWindow::typingNeverPicks()
{
    QFETCH(QString, name);
    QFETCH(int, startIndex);
    QFETCH(QString, typed);
    QFETCH(TypingEnd, end);

    PickList *l = list(*w, name);
    if (startIndex >= 0)
        pickInPopup(l, startIndex);
    settle(*w);
    const QStringList cellsBefore = allCells(*w);
    const QStringList itemsBefore = [&] {
        QStringList items;
        for (int i = 0; i < l->count(); ++i)
            items << l->itemText(i);
        return items;
    }();
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
        QTRY_VERIFY(l->view()->isVisible());
        QTest::keyClick(l->view(), Qt::Key_Escape);
        QTRY_VERIFY(!l->view()->isVisible());
        break;
    }
    settle(*w);

    QCOMPARE(picks.count(), 0);
    QCOMPARE(activations.count(), 0);
    QCOMPARE(l->currentIndex(), startIndex);
    QStringList itemsAfter;
    for (int i = 0; i < l->count(); ++i)
        itemsAfter << l->itemText(i);
    QCOMPARE(itemsAfter, itemsBefore);
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
    PickList *l = list(*w, "Combo5");
    const QStringList cellsBefore = allCells(*w);
    QSignalSpy picks(l, &PickList::picked);
    l->setFocus();
    QTest::keyClick(l, Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(l->view()->isVisible());
    QTest::keyClick(l->view(), Qt::Key_Down);
    QTest::keyClick(l->view(), Qt::Key_Down);
    switch (close) {
    case PopupClose::Hide: l->hidePopup(); break;
    case PopupClose::Escape: QTest::keyClick(l->view(), Qt::Key_Escape); break;
    case PopupClose::AltDown: QTest::keyClick(l->view(), Qt::Key_Down, Qt::AltModifier); break;
    case PopupClose::F4: QTest::keyClick(l->view(), Qt::Key_F4); break;
    }
    QTRY_VERIFY(!l->view()->isVisible());
    settle(*w);
    QCOMPARE(picks.count(), 0);
    QCOMPARE(l->currentIndex(), -1);
    QCOMPARE(l->currentText(), QStringLiteral("ANA IN"));
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
    PickList *l = list(*w, "Combo10");
    QSignalSpy picks(l, &PickList::picked);
    int expectedPicks = 1;

    switch (way) {
    case PickWay::PopupMouse:
        pickInPopup(l, index);
        break;
    case PickWay::PopupKeyboard:
        l->setFocus();
        QTest::keyClick(l, Qt::Key_F4);
        QTRY_VERIFY(l->view()->isVisible());
        QTest::keyClick(l->view(), Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(l->view(), Qt::Key_Down);
        QTest::keyClick(l->view(), Qt::Key_Return);
        QTRY_VERIFY(!l->view()->isVisible());
        break;
    case PickWay::ClosedBoxKeys:
        pickByKeys(l, index);
        expectedPicks = index + 1;   // every step is a pick
        break;
    case PickWay::PageDown:
        l->setFocus();
        QTest::keyClick(l, Qt::Key_PageDown);
        break;
    case PickWay::Wheel: {
        l->setFocus();
        const QPointF at(l->width() / 2.0, l->height() / 2.0);
        QWheelEvent wheel(at, l->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(l, &wheel);
        break;
    }
    }
    QCOMPARE(l->currentIndex(), index);
    QCOMPARE(picks.count(), expectedPicks);
}

void TestWindow::wordFollowsOnTheNextTick()
{
    settle(*w);
    pickByKeys(list(*w, "Combo10"), 3);   // OPS = 11: CFG0 D4, D3
    // The cells change with the pick; the word only at the next tick.
    QCOMPARE(cellText(*w, Register::CFG0, 4), QStringLiteral("1"));
    QCOMPARE(word(*w, Register::CFG0), QStringLiteral("0"));
    settle(*w);
    QCOMPARE(word(*w, Register::CFG0), QStringLiteral("18"));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
