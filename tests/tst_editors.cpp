// Every editor driven as a user drives it: boxes clicked or toggled with
// Space, list items picked in the popup or with the arrow keys. After each
// action the cells, the hexadecimal words and the segment colours must be
// what the chip's register map and the diagram's paths say.
#include "windowtest.h"

#include "editors/editor.h"
#include "window/segmenttable.h"

#include <QSet>

using namespace isd;
using namespace testing;

namespace {

// Each control's segments, as the diagram groups them. Line17 belongs to
// both AGC and AUX IN power switches.
const QHash<QString, QList<int>> &segmentSets()
{
    static const QHash<QString, QList<int>> sets{
        {"Check1", {1, 2, 3, 17}},
        {"Check2", {4, 5, 6, 17}},
        {"Check3", {8, 9, 10, 25}},
        {"Check4", {7, 11, 12, 13}},
        {"Combo3", {26, 27, 45, 46, 47, 48, 49, 50}},
        {"Combo4", {31, 32, 33, 54, 39, 40, 41, 20, 53, 19, 69, 70, 71}},
        {"Combo7", {73, 74, 75, 76, 77, 78, 79, 80, 81, 72, 29, 30}},
        {"Check5", {42, 43, 44}},
        {"Check6", {61, 62, 63, 64, 65, 66, 67, 68}},
        {"Combo5", {28, 56, 57, 58, 59, 60, 34, 36, 37, 38, 18, 21}},
        {"Check7", {83, 84, 85, 86, 87, 88, 89}},
        {"Combo9", {14, 15, 16, 22, 23, 24, 55, 90, 91, 92, 35, 93}},
        {"Check8", {99, 100, 101, 102}},
        {"Combo10", {94, 95, 96, 97, 98}},
        {"Combo11", {104, 105, 106, 107, 108, 109, 110, 111, 112}},
    };
    return sets;
}

QList<int> numbers(const QString &text)
{
    QList<int> result;
    for (const QString &n : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList range = n.split(QLatin1Char('-'));
        for (int i = range.first().toInt(); i <= range.last().toInt(); ++i)
            result << i;
    }
    return result;
}

QList<SegmentColour> colours(const ConfigWindow &w)
{
    QList<SegmentColour> c;
    for (int n = 1; n <= kSegmentCount; ++n)
        c << w.diagram()->segmentColour(n);
    return c;
}

// Plays a script of user actions: "Check5" clicks a box, "Check5 space"
// toggles it with the Space key, "Combo3=2" picks item 2 in the popup,
// "Combo3>2" picks it with the arrow keys on the closed box. Returns the
// controls used.
QStringList play(ConfigWindow &w, const QString &script)
{
    QStringList used;
    for (const QString &step : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString s = step.trimmed();
        if (s.startsWith(QLatin1String("Check"))) {
            const QString name = s.section(QLatin1Char(' '), 0, 0);
            QCheckBox *b = box(w, name);
            if (s.endsWith(QLatin1String(" space"))) {
                b->setFocus();
                QTest::keyClick(b, Qt::Key_Space);
            } else {
                clickBox(b);
            }
            used << name;
        } else {
            const bool byKeys = s.contains(QLatin1Char('>'));
            const QStringList parts = s.split(byKeys ? QLatin1Char('>') : QLatin1Char('='));
            PickList *l = list(w, parts[0]);
            if (byKeys)
                pickByKeys(l, parts[1].toInt());
            else
                pickInPopup(l, parts[1].toInt());
            used << parts[0];
        }
    }
    return used;
}

} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void editorRows_data();
    void editorRows();
    void agcAndAuxShareTheInputMuxOutput_data();
    void agcAndAuxShareTheInputMuxOutput();
    void editorsDoNotCoordinate_data();
    void editorsDoNotCoordinate();
    void unownedSegmentsStayRed();
    void defaultSegmentsTurnBlackAfterTwoClicks();
    void typingAnItemIsNoPick();
    void noSelectionWritesNothing_data();
    void noSelectionWritesNothing();

private:
    ConfigWindow *w = nullptr;
};

void TestEditors::init()
{
    w = new ConfigWindow;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void TestEditors::cleanup()
{
    delete w;
    w = nullptr;
}

void TestEditors::editorRows_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("lit");     // segments of the last control's set that are red
    QTest::addColumn<QString>("cfg0");
    QTest::addColumn<QString>("cfg1");

    // Input stage.
    QTest::newRow("Check1 off") << "Check1" << "17" << "0" << "1";
    QTest::newRow("Check1 off, on") << "Check1; Check1 space" << "1-3 17" << "0" << "0";
    QTest::newRow("Check2 off") << "Check2 space" << "17" << "400" << "0";
    QTest::newRow("Check2 off, on") << "Check2; Check2" << "4-6 17" << "0" << "0";
    QTest::newRow("Check3 off") << "Check3" << "" << "2000" << "0";
    QTest::newRow("Check3 off, on") << "Check3; Check3 space" << "8-10 25" << "0" << "0";
    QTest::newRow("Check4 AUX IN") << "Check4" << "11-13" << "200" << "0";
    QTest::newRow("Check4 MIC IN again") << "Check4 space; Check4" << "7" << "0" << "0";
    QTest::newRow("Check4 AUX IN, AUX IN amplifier off") << "Check4; Check2" << "17" << "600" << "0";
    QTest::newRow("Combo1 1.0") << "Combo1=0" << "" << "0" << "0";
    QTest::newRow("Combo1 1.41") << "Combo1=1" << "" << "800" << "0";
    QTest::newRow("Combo1 2.0") << "Combo1>2" << "" << "1000" << "0";
    QTest::newRow("Combo1 2.82") << "Combo1=3" << "" << "1800" << "0";
    QTest::newRow("Combo2 0.625") << "Combo2>0" << "" << "0" << "0";
    QTest::newRow("Combo2 0.883") << "Combo2=1" << "" << "4000" << "0";
    QTest::newRow("Combo2 1.250") << "Combo2=2" << "" << "8000" << "0";
    QTest::newRow("Combo2 1.767") << "Combo2=3" << "" << "C000" << "0";
    QTest::newRow("2.82 then 1.767") << "Combo1=3; Combo2=3" << "" << "D800" << "0";
    QTest::newRow("2.82, 1.767, then 0.883") << "Combo1=3; Combo2=3; Combo2=1" << "" << "5800" << "0";

    // Mixer and filter.
    QTest::newRow("Combo3 ANA IN") << "Combo3=0" << "26 27" << "0" << "0";
    QTest::newRow("Combo3 ARRAY") << "Combo3=1" << "45-47" << "0" << "200";
    QTest::newRow("Combo3 FILTO") << "Combo3>2" << "48-50" << "0" << "400";
    QTest::newRow("Combo3 FILTO then ANA IN") << "Combo3=2; Combo3=0" << "26 27" << "0" << "0";
    QTest::newRow("Combo4 SUM1 & INP") << "Combo4=0" << "31-33 54 39-41 19 20 53 69-71" << "0" << "0";
    QTest::newRow("Combo4 SUM1") << "Combo4=1" << "31-33 54 39-41 69-71" << "0" << "80";
    QTest::newRow("Combo4 INP") << "Combo4>2" << "31-33 54 19 20 53 69-71" << "0" << "100";
    QTest::newRow("Combo4 off") << "Combo4=3" << "" << "0" << "180";
    QTest::newRow("Combo4 SUM1 then INP") << "Combo4=1; Combo4=2" << "31-33 54 19 20 53 69-71" << "0" << "100";
    QTest::newRow("Combo7 ANA & FILTO") << "Combo7=0" << "73-81 72 29 30" << "0" << "0";
    QTest::newRow("Combo7 ANA IN") << "Combo7=1" << "73-81 29 30" << "0" << "20";
    QTest::newRow("Combo7 FILTO") << "Combo7=2" << "73-81 72" << "0" << "40";
    QTest::newRow("Combo7 off") << "Combo7>3" << "" << "0" << "60";
    QTest::newRow("Check5 ARRAY") << "Check5" << "43 44" << "0" << "10";
    QTest::newRow("Check5 SUM1 again") << "Check5; Check5 space" << "42" << "0" << "0";
    QTest::newRow("Check6 off") << "Check6 space" << "" << "0" << "2";
    QTest::newRow("Check6 off, on") << "Check6; Check6" << "61-68" << "0" << "0";
    QTest::newRow("Combo6 8 kHz") << "Combo6=0" << "" << "0" << "0";
    QTest::newRow("Combo6 6.4 kHz") << "Combo6=1" << "" << "0" << "4";
    QTest::newRow("Combo6 5.3 kHz") << "Combo6>2" << "" << "0" << "8";
    QTest::newRow("Combo6 4 kHz") << "Combo6=3" << "" << "0" << "C";

    // Volume and output.
    QTest::newRow("Combo5 ANA IN") << "Combo5=0" << "28 56" << "0" << "0";
    QTest::newRow("Combo5 SUM2") << "Combo5=1" << "57-60" << "0" << "4000";
    QTest::newRow("Combo5 SUM1") << "Combo5>2" << "34 36-38" << "0" << "8000";
    QTest::newRow("Combo5 INP") << "Combo5=3" << "18 21" << "0" << "C000";
    QTest::newRow("Combo5 INP then SUM1") << "Combo5=3; Combo5=2" << "34 36-38" << "0" << "8000";
    const QStringList volumeWords{"0", "800", "1000", "1800", "2000", "2800", "3000", "3800"};
    for (int i = 0; i < 8; ++i) {
        QTest::addRow("Combo8 %d dB", 4 * i)
            << QStringLiteral("Combo8%1%2").arg(i % 2 ? "=" : ">").arg(i) << "" << "0" << volumeWords[i];
    }
    QTest::newRow("Check7 off") << "Check7" << "" << "1" << "0";
    QTest::newRow("Check7 off, on") << "Check7 space; Check7" << "83-89" << "0" << "0";
    QTest::newRow("Combo9 FTHRU") << "Combo9=0" << "14-16" << "0" << "0";
    QTest::newRow("Combo9 INP") << "Combo9=1" << "22-24 55" << "40" << "0";
    QTest::newRow("Combo9 VOL") << "Combo9>2" << "90 91" << "80" << "0";
    QTest::newRow("Combo9 FILTO") << "Combo9=3" << "92" << "C0" << "0";
    QTest::newRow("Combo9 SUM1") << "Combo9=4" << "35" << "100" << "0";
    QTest::newRow("Combo9 SUM2") << "Combo9=5" << "93" << "140" << "0";
    QTest::newRow("Combo9 SUM2 picked again") << "Combo9=5; Combo9=5" << "93" << "140" << "0";
    QTest::newRow("Check8 off") << "Check8" << "" << "20" << "0";
    QTest::newRow("Check8 off, on") << "Check8; Check8 space" << "99-102" << "0" << "0";
    QTest::newRow("Combo10 VOL") << "Combo10=0" << "94" << "0" << "0";
    QTest::newRow("Combo10 ANA IN") << "Combo10>1" << "95" << "8" << "0";
    QTest::newRow("Combo10 FILTO") << "Combo10=2" << "96 97" << "10" << "0";
    QTest::newRow("Combo10 SUM2") << "Combo10=3" << "98" << "18" << "0";
    QTest::newRow("Combo11 off") << "Combo11=0" << "" << "0" << "0";
    QTest::newRow("Combo11 speaker 150 ohm") << "Combo11=1" << "104-107" << "2" << "0";
    QTest::newRow("Combo11 speaker 8 ohm") << "Combo11>2" << "104-107" << "4" << "0";
    QTest::newRow("Combo11 AUX OUT") << "Combo11=3" << "108-112" << "6" << "0";
    QTest::newRow("Combo11 AUX OUT then off") << "Combo11=3; Combo11=0" << "" << "0" << "0";
}

void TestEditors::editorRows()
{
    QFETCH(QString, script);
    QFETCH(QString, lit);
    QFETCH(QString, cfg0);
    QFETCH(QString, cfg1);

    const QList<SegmentColour> before = colours(*w);
    const QStringList used = play(*w, script);

    // The last control's whole set is rewritten: red where its path is in
    // use, black elsewhere, never left in the default colour.
    const QList<int> set = segmentSets().value(used.last());
    const QList<int> red = numbers(lit);
    for (int line : set) {
        const SegmentColour expected = red.contains(line) ? SegmentColour::Highlight : SegmentColour::Idle;
        QVERIFY2(w->diagram()->segmentColour(line) == expected, qPrintable(segmentName(line)));
    }
    for (int line : red)
        QVERIFY2(set.contains(line), qPrintable(segmentName(line)));

    // Segments of controls that were not used keep their colours.
    QSet<int> touched;
    for (const QString &name : used) {
        for (int line : segmentSets().value(name))
            touched.insert(line);
    }
    for (int line = 1; line <= kSegmentCount; ++line) {
        if (!touched.contains(line))
            QVERIFY2(w->diagram()->segmentColour(line) == before[line - 1], qPrintable(segmentName(line)));
    }

    settle(*w);
    QCOMPARE(word(*w, Register::CFG0), cfg0);
    QCOMPARE(word(*w, Register::CFG1), cfg1);
}

void TestEditors::agcAndAuxShareTheInputMuxOutput_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("AGC off, then AUX IN off") << "Check1" << "Check2";
    QTest::newRow("AUX IN off, then AGC off") << "Check2" << "Check1";
}

void TestEditors::agcAndAuxShareTheInputMuxOutput()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    DiagramView *d = w->diagram();

    play(*w, first);
    QCOMPARE(d->segmentColour(17), SegmentColour::Highlight);
    play(*w, second);
    QCOMPARE(d->segmentColour(17), SegmentColour::Idle);
    // Either amplifier powered again brings the wire back.
    play(*w, first + " space");
    QCOMPARE(d->segmentColour(17), SegmentColour::Highlight);
    play(*w, first);
    QCOMPARE(d->segmentColour(17), SegmentColour::Idle);
    play(*w, second);
    QCOMPARE(d->segmentColour(17), SegmentColour::Highlight);

    // The input source never touches Line17; the power switches never touch
    // the input wires.
    const SegmentColour line17 = d->segmentColour(17);
    play(*w, "Check4; Check4");
    QCOMPARE(d->segmentColour(17), line17);
    QCOMPARE(d->segmentColour(7), SegmentColour::Highlight);
    QCOMPARE(d->segmentColour(11), SegmentColour::Idle);
    play(*w, "Check1; Check2");
    QCOMPARE(d->segmentColour(7), SegmentColour::Highlight);
    QCOMPARE(d->segmentColour(11), SegmentColour::Idle);
}

void TestEditors::editorsDoNotCoordinate_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("stillRed");

    QTest::newRow("filter off keeps the FILTO wires into SUM1 and SUM2")
        << "Combo3=2; Check6" << "48-50 72";
    QTest::newRow("volume off keeps the VOL inputs of both output multiplexers")
        << "Combo9=2; Combo10=0; Check7" << "90 91 94";
    QTest::newRow("volume off keeps the chosen volume source")
        << "Combo5=1; Check7" << "57-60";
    QTest::newRow("a volume source chosen while the volume control is off")
        << "Check7; Combo5=3" << "18 21";
    QTest::newRow("SUM1 off keeps the SUM1 multiplexer's input and the filter's SUM1 input")
        << "Combo4=3" << "26 27 42";
    QTest::newRow("filter input SUM1 while SUM1 is off")
        << "Combo4=3; Check5; Check5" << "42";
    QTest::newRow("FILTO into SUM1 while the filter is off")
        << "Check6; Combo3=2" << "48-50";
    QTest::newRow("analog output amplifier off keeps its input wire")
        << "Combo9=1; Check8" << "22-24 55";
    QTest::newRow("output amplifiers off keep the output multiplexer's input")
        << "Combo10=2; Combo11=1; Combo11=0" << "96 97 103";
    QTest::newRow("AUX IN selected while its amplifier is off")
        << "Check2; Check4" << "11-13";
}

void TestEditors::editorsDoNotCoordinate()
{
    QFETCH(QString, script);
    QFETCH(QString, stillRed);
    play(*w, script);
    for (int line : numbers(stillRed))
        QVERIFY2(w->diagram()->segmentColour(line) == SegmentColour::Highlight, qPrintable(segmentName(line)));
}

void TestEditors::unownedSegmentsStayRed()
{
    // Every control used, most of them twice: the four segments no editor
    // owns stay red throughout.
    play(*w, "Check1; Check2; Check3; Check4; Check5; Check6; Check7; Check8; "
             "Combo3=1; Combo4=3; Combo5=2; Combo7=3; Combo9=4; Combo10=3; Combo11=3; "
             "Check1; Check2; Check3; Check4; Check5; Check6; Check7; Check8; "
             "Combo3>2; Combo4>1; Combo5>3; Combo7>1; Combo9>5; Combo10>1; Combo11>2");
    for (int line : {51, 52, 82, 103})
        QVERIFY2(w->diagram()->segmentColour(line) == SegmentColour::Highlight, qPrintable(segmentName(line)));
}

void TestEditors::defaultSegmentsTurnBlackAfterTwoClicks()
{
    DiagramView *d = w->diagram();
    QCOMPARE(d->segmentColour(43), SegmentColour::Default);
    QCOMPARE(d->segmentColour(11), SegmentColour::Default);
    play(*w, "Check5; Check5; Check4; Check4");
    for (int line : {43, 44, 11, 12, 13})
        QVERIFY2(d->segmentColour(line) == SegmentColour::Idle, qPrintable(segmentName(line)));
    // Cells back where they started.
    QCOMPARE(allCells(*w), QStringList(32, QStringLiteral("0")));
}

void TestEditors::typingAnItemIsNoPick()
{
    play(*w, "Combo9=1");
    settle(*w);
    const QList<SegmentColour> before = colours(*w);
    PickList *l = list(*w, "Combo9");
    l->setFocus();
    l->lineEdit()->selectAll();
    typeText(l->lineEdit(), QStringLiteral("SUM2"));
    QTest::keyClick(l->lineEdit(), Qt::Key_Return);
    settle(*w);
    QCOMPARE(l->currentText(), QStringLiteral("SUM2"));
    QCOMPARE(l->currentIndex(), 1);
    QCOMPARE(colours(*w), before);
    QCOMPARE(word(*w, Register::CFG0), QStringLiteral("40"));
}

// A window stand-in that records what an editor writes.
class RecordingTarget : public EditorTarget
{
public:
    int index = -1;
    int writes = 0;
    bool isChecked(FieldId) const override { return true; }
    int selectedIndex(FieldId) const override { return index; }
    void writeCell(Register, int, const QString &) override { ++writes; }
    void setSegmentLit(int, bool) override { ++writes; }
};

void TestEditors::noSelectionWritesNothing_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("no item selected") << -1;
    QTest::newRow("past the last item") << 99;
}

void TestEditors::noSelectionWritesNothing()
{
    QFETCH(int, index);
    int lists = 0;
    for (const EditorSet *set : allEditorSets()) {
        for (const ListEditor &editor : set->lists) {
            RecordingTarget target;
            target.index = index;
            runEditor(editor, target);
            QCOMPARE(target.writes, 0);
            // The same editor does write for its first item.
            target.index = 0;
            runEditor(editor, target);
            QVERIFY(target.writes > 0);
            ++lists;
        }
    }
    QCOMPARE(lists, 11);
}

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
