// Every editor driven as a user drives it: boxes clicked or toggled with
// Space, list items picked in the popup or with the arrow keys. After each
// action the cells, the hexadecimal words and the segment colours must be
// what the chip's register map and the diagram's paths say.
#include "windowtest.h"

#include "editors/editor.h"
#include "window/segmenttable.h"

#include <QRegularExpression>
#include <QSet>

using namespace isd;
using namespace testing;

namespace {

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

// Plays a script of user actions, by field: "FLS0" clicks its box, "FLS0
// space" toggles it with the Space key, "S1S=2" picks item 2 in the popup,
// "S1S>2" picks it with the arrow keys on the closed box. Adds the fields
// used to `used`; false if a popup did not open or close.
[[nodiscard]] bool play(ConfigWindow &w, const QString &script, QStringList *used = nullptr)
{
    QStringList fields;
    for (const QString &step : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString s = step.trimmed();
        const QString name = s.section(QRegularExpression(QStringLiteral("[ =>]")), 0, 0);
        if (!expectedField(name).isList()) {
            QCheckBox *b = box(w, name);
            if (s.endsWith(QLatin1String(" space"))) {
                b->setFocus();
                QTest::keyClick(b, Qt::Key_Space);
            } else {
                clickBox(b);
            }
        } else {
            const bool byKeys = s.contains(QLatin1Char('>'));
            const int index = s.section(byKeys ? QLatin1Char('>') : QLatin1Char('='), 1).toInt();
            PickList *l = list(w, name);
            if (byKeys)
                pickByKeys(l, index);
            else if (!pickInPopup(l, index))
                return false;
        }
        fields << name;
    }
    if (used)
        *used = fields;
    return true;
}

} // namespace

class TestEditors : public WindowTest
{
    Q_OBJECT

private slots:
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
    void editorTablesFitTheWindow();
};

void TestEditors::editorRows_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("lit");     // segments of the last control's set that are red
    QTest::addColumn<QString>("cfg0");
    QTest::addColumn<QString>("cfg1");

    // Input stage.
    QTest::newRow("AGPD off") << "AGPD" << "17" << "0" << "1";
    QTest::newRow("AGPD off, on") << "AGPD; AGPD space" << "1-3 17" << "0" << "0";
    QTest::newRow("AXPD off") << "AXPD space" << "17" << "400" << "0";
    QTest::newRow("AXPD off, on") << "AXPD; AXPD" << "4-6 17" << "0" << "0";
    QTest::newRow("AIPD off") << "AIPD" << "" << "2000" << "0";
    QTest::newRow("AIPD off, on") << "AIPD; AIPD space" << "8-10 25" << "0" << "0";
    QTest::newRow("INS0 AUX IN") << "INS0" << "11-13" << "200" << "0";
    QTest::newRow("INS0 MIC IN again") << "INS0 space; INS0" << "7" << "0" << "0";
    QTest::newRow("INS0 AUX IN, AUX IN amplifier off") << "INS0; AXPD" << "17" << "600" << "0";
    QTest::newRow("AXG 1.0") << "AXG=0" << "" << "0" << "0";
    QTest::newRow("AXG 1.41") << "AXG=1" << "" << "800" << "0";
    QTest::newRow("AXG 2.0") << "AXG>2" << "" << "1000" << "0";
    QTest::newRow("AXG 2.82") << "AXG=3" << "" << "1800" << "0";
    QTest::newRow("AIG 0.625") << "AIG>0" << "" << "0" << "0";
    QTest::newRow("AIG 0.883") << "AIG=1" << "" << "4000" << "0";
    QTest::newRow("AIG 1.250") << "AIG=2" << "" << "8000" << "0";
    QTest::newRow("AIG 1.767") << "AIG=3" << "" << "C000" << "0";
    QTest::newRow("2.82 then 1.767") << "AXG=3; AIG=3" << "" << "D800" << "0";
    QTest::newRow("2.82, 1.767, then 0.883") << "AXG=3; AIG=3; AIG=1" << "" << "5800" << "0";

    // Mixer and filter.
    QTest::newRow("S1S ANA IN") << "S1S=0" << "26 27" << "0" << "0";
    QTest::newRow("S1S ARRAY") << "S1S=1" << "45-47" << "0" << "200";
    QTest::newRow("S1S FILTO") << "S1S>2" << "48-50" << "0" << "400";
    QTest::newRow("S1S FILTO then ANA IN") << "S1S=2; S1S=0" << "26 27" << "0" << "0";
    QTest::newRow("S1M SUM1 & INP") << "S1M=0" << "31-33 54 39-41 19 20 53 69-71" << "0" << "0";
    QTest::newRow("S1M SUM1") << "S1M=1" << "31-33 54 39-41 69-71" << "0" << "80";
    QTest::newRow("S1M INP") << "S1M>2" << "31-33 54 19 20 53 69-71" << "0" << "100";
    QTest::newRow("S1M off") << "S1M=3" << "" << "0" << "180";
    QTest::newRow("S1M SUM1 then INP") << "S1M=1; S1M=2" << "31-33 54 19 20 53 69-71" << "0" << "100";
    QTest::newRow("S2M ANA & FILTO") << "S2M=0" << "73-81 72 29 30" << "0" << "0";
    QTest::newRow("S2M ANA IN") << "S2M=1" << "73-81 29 30" << "0" << "20";
    QTest::newRow("S2M FILTO") << "S2M=2" << "73-81 72" << "0" << "40";
    QTest::newRow("S2M off") << "S2M>3" << "" << "0" << "60";
    QTest::newRow("FLS0 ARRAY") << "FLS0" << "43 44" << "0" << "10";
    QTest::newRow("FLS0 SUM1 again") << "FLS0; FLS0 space" << "42" << "0" << "0";
    QTest::newRow("FLPD off") << "FLPD space" << "" << "0" << "2";
    QTest::newRow("FLPD off, on") << "FLPD; FLPD" << "61-68" << "0" << "0";
    QTest::newRow("FLD 8 kHz") << "FLD=0" << "" << "0" << "0";
    QTest::newRow("FLD 6.4 kHz") << "FLD=1" << "" << "0" << "4";
    QTest::newRow("FLD 5.3 kHz") << "FLD>2" << "" << "0" << "8";
    QTest::newRow("FLD 4 kHz") << "FLD=3" << "" << "0" << "C";

    // Volume and output.
    QTest::newRow("VLS ANA IN") << "VLS=0" << "28 56" << "0" << "0";
    QTest::newRow("VLS SUM2") << "VLS=1" << "57-60" << "0" << "4000";
    QTest::newRow("VLS SUM1") << "VLS>2" << "34 36-38" << "0" << "8000";
    QTest::newRow("VLS INP") << "VLS=3" << "18 21" << "0" << "C000";
    QTest::newRow("VLS INP then SUM1") << "VLS=3; VLS=2" << "34 36-38" << "0" << "8000";
    const QStringList volumeWords{"0", "800", "1000", "1800", "2000", "2800", "3000", "3800"};
    for (int i = 0; i < volumeWords.size(); ++i) {
        QTest::addRow("VOL %d dB", 4 * i)
            << QStringLiteral("VOL%1%2").arg(i % 2 ? "=" : ">").arg(i) << "" << "0" << volumeWords[i];
    }
    QTest::newRow("VLPD off") << "VLPD" << "" << "1" << "0";
    QTest::newRow("VLPD off, on") << "VLPD space; VLPD" << "83-89" << "0" << "0";
    QTest::newRow("AOS FTHRU") << "AOS=0" << "14-16" << "0" << "0";
    QTest::newRow("AOS INP") << "AOS=1" << "22-24 55" << "40" << "0";
    QTest::newRow("AOS VOL") << "AOS>2" << "90 91" << "80" << "0";
    QTest::newRow("AOS FILTO") << "AOS=3" << "92" << "C0" << "0";
    QTest::newRow("AOS SUM1") << "AOS=4" << "35" << "100" << "0";
    QTest::newRow("AOS SUM2") << "AOS=5" << "93" << "140" << "0";
    QTest::newRow("AOS SUM2 picked again") << "AOS=5; AOS=5" << "93" << "140" << "0";
    QTest::newRow("AOPD off") << "AOPD" << "" << "20" << "0";
    QTest::newRow("AOPD off, on") << "AOPD; AOPD space" << "99-102" << "0" << "0";
    QTest::newRow("OPS VOL") << "OPS=0" << "94" << "0" << "0";
    QTest::newRow("OPS ANA IN") << "OPS>1" << "95" << "8" << "0";
    QTest::newRow("OPS FILTO") << "OPS=2" << "96 97" << "10" << "0";
    QTest::newRow("OPS SUM2") << "OPS=3" << "98" << "18" << "0";
    QTest::newRow("OPA off") << "OPA=0" << "" << "0" << "0";
    QTest::newRow("OPA speaker 150 ohm") << "OPA=1" << "104-107" << "2" << "0";
    QTest::newRow("OPA speaker 8 ohm") << "OPA>2" << "104-107" << "4" << "0";
    QTest::newRow("OPA AUX OUT") << "OPA=3" << "108-112" << "6" << "0";
    QTest::newRow("OPA AUX OUT then off") << "OPA=3; OPA=0" << "" << "0" << "0";
}

void TestEditors::editorRows()
{
    QFETCH(QString, script);
    QFETCH(QString, lit);
    QFETCH(QString, cfg0);
    QFETCH(QString, cfg1);

    const QList<SegmentColour> before = colours(*w);
    QStringList used;
    QVERIFY(play(*w, script, &used));

    // The last control's whole set is rewritten: red where its path is in
    // use, black elsewhere, never left in the default colour.
    const QList<int> set = expectedField(used.last()).segments;
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
        for (int line : expectedField(name).segments)
            touched.insert(line);
    }
    for (int line = 1; line <= kSegmentCount; ++line) {
        if (!touched.contains(line))
            QVERIFY2(w->diagram()->segmentColour(line) == before[line - 1], qPrintable(segmentName(line)));
    }

    QVERIFY(settle(*w));
    QCOMPARE(word(*w, Register::CFG0), cfg0);
    QCOMPARE(word(*w, Register::CFG1), cfg1);
}

void TestEditors::agcAndAuxShareTheInputMuxOutput_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("AGC off, then AUX IN off") << "AGPD" << "AXPD";
    QTest::newRow("AUX IN off, then AGC off") << "AXPD" << "AGPD";
}

void TestEditors::agcAndAuxShareTheInputMuxOutput()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    DiagramView *d = w->diagram();

    // Line17 after each step; either amplifier powered again brings it back.
    const QList<QPair<QString, SegmentColour>> steps{
        {first, SegmentColour::Highlight}, {second, SegmentColour::Idle}, {first + " space", SegmentColour::Highlight},
        {first, SegmentColour::Idle}, {second, SegmentColour::Highlight}};
    for (const auto &[step, line17] : steps) {
        QVERIFY(play(*w, step));
        QVERIFY2(d->segmentColour(17) == line17, qPrintable(step));
    }

    // The input source never touches Line17; the power switches never touch
    // the input wires.
    const SegmentColour line17 = d->segmentColour(17);
    QVERIFY(play(*w, "INS0; INS0"));
    QCOMPARE(d->segmentColour(17), line17);
    QCOMPARE(d->segmentColour(7), SegmentColour::Highlight);
    QCOMPARE(d->segmentColour(11), SegmentColour::Idle);
    QVERIFY(play(*w, "AGPD; AXPD"));
    QCOMPARE(d->segmentColour(7), SegmentColour::Highlight);
    QCOMPARE(d->segmentColour(11), SegmentColour::Idle);
}

void TestEditors::editorsDoNotCoordinate_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("stillRed");

    QTest::newRow("filter off keeps the FILTO wires into SUM1 and SUM2")
        << "S1S=2; FLPD" << "48-50 72";
    QTest::newRow("volume off keeps the VOL inputs of both output multiplexers")
        << "AOS=2; OPS=0; VLPD" << "90 91 94";
    QTest::newRow("volume off keeps the chosen volume source")
        << "VLS=1; VLPD" << "57-60";
    QTest::newRow("a volume source chosen while the volume control is off")
        << "VLPD; VLS=3" << "18 21";
    QTest::newRow("SUM1 off keeps the SUM1 multiplexer's input and the filter's SUM1 input")
        << "S1M=3" << "26 27 42";
    QTest::newRow("filter input SUM1 while SUM1 is off")
        << "S1M=3; FLS0; FLS0" << "42";
    QTest::newRow("FILTO into SUM1 while the filter is off")
        << "FLPD; S1S=2" << "48-50";
    QTest::newRow("analog output amplifier off keeps its input wire")
        << "AOS=1; AOPD" << "22-24 55";
    QTest::newRow("output amplifiers off keep the output multiplexer's input")
        << "OPS=2; OPA=1; OPA=0" << "96 97 103";
    QTest::newRow("AUX IN selected while its amplifier is off")
        << "AXPD; INS0" << "11-13";
}

void TestEditors::editorsDoNotCoordinate()
{
    QFETCH(QString, script);
    QFETCH(QString, stillRed);
    QVERIFY(play(*w, script));
    for (int line : numbers(stillRed))
        QVERIFY2(w->diagram()->segmentColour(line) == SegmentColour::Highlight, qPrintable(segmentName(line)));
}

void TestEditors::unownedSegmentsStayRed()
{
    // Every control used, most of them twice: the four segments no editor
    // owns stay red throughout.
    QVERIFY(play(*w, "AGPD; AXPD; AIPD; INS0; FLS0; FLPD; VLPD; AOPD; "
                     "S1S=1; S1M=3; VLS=2; S2M=3; AOS=4; OPS=3; OPA=3; "
                     "AGPD; AXPD; AIPD; INS0; FLS0; FLPD; VLPD; AOPD; "
                     "S1S>2; S1M>1; VLS>3; S2M>1; AOS>5; OPS>1; OPA>2"));
    for (int line : expectedUnownedSegments())
        QVERIFY2(w->diagram()->segmentColour(line) == SegmentColour::Highlight, qPrintable(segmentName(line)));
}

void TestEditors::defaultSegmentsTurnBlackAfterTwoClicks()
{
    DiagramView *d = w->diagram();
    QCOMPARE(d->segmentColour(43), SegmentColour::Default);
    QCOMPARE(d->segmentColour(11), SegmentColour::Default);
    QVERIFY(play(*w, "FLS0; FLS0; INS0; INS0"));
    for (int line : {43, 44, 11, 12, 13})
        QVERIFY2(d->segmentColour(line) == SegmentColour::Idle, qPrintable(segmentName(line)));
    // Cells back where they started.
    QCOMPARE(allCells(*w), allCellsZero());
}

void TestEditors::typingAnItemIsNoPick()
{
    QVERIFY(play(*w, "AOS=1"));
    QVERIFY(settle(*w));
    const QList<SegmentColour> before = colours(*w);
    PickList *l = list(*w, "AOS");
    l->setFocus();
    l->lineEdit()->selectAll();
    typeText(l->lineEdit(), QStringLiteral("SUM2"));
    QTest::keyClick(l->lineEdit(), Qt::Key_Return);
    QVERIFY(settle(*w));
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
    QCOMPARE(lists, int(expectedLists().size()));
}

// The editors' tables fit the window they edit and the expected table:
// each editor's field set by a control of its kind, one row per list item,
// every segment with at most one editor, and the design states of the
// controls and segments those of an all-zero register.
void TestEditors::editorTablesFitTheWindow()
{
    QHash<int, QString> owner;
    auto own = [&](const SegmentList &set, const QString &editor) {
        for (int line : set) {
            QVERIFY2(line >= 1 && line <= kSegmentCount, qPrintable(editor));
            QVERIFY2(!owner.contains(line),
                     qPrintable(QStringLiteral("Line%1: %2 and %3").arg(line).arg(owner.value(line), editor)));
            owner.insert(line, editor);
        }
    };
    // Segments that do not keep the default colour start as the control's
    // design state would colour them.
    auto startsAs = [](const SegmentList &set, const SegmentList &lit) {
        for (int line : set) {
            const bool on = std::find(lit.begin(), lit.end(), line) != lit.end();
            if (segment(line).initial != SegmentColour::Default
                && segment(line).initial != (on ? SegmentColour::Highlight : SegmentColour::Idle)) {
                return segmentName(line);
            }
        }
        return QString();
    };
    int checkEditors = 0;
    int listEditors = 0;
    for (const EditorSet *set : allEditorSets()) {
        for (const CheckEditor &e : set->checks) {
            const ControlSpec &design = fieldControl(e.field);
            QCOMPARE(design.kind, ControlKind::CheckBox);
            // The box's design state stands for bit 0: a power switch starts
            // checked (powered), a select bit unchecked.
            QCOMPARE(design.checked, field(e.field).editedBy == EditedBy::PowerSwitch);
            const QString wrong = startsAs(e.segments(), design.checked ? e.litWhenChecked : e.litWhenUnchecked);
            QVERIFY2(wrong.isEmpty(), qPrintable(design.name + QLatin1Char(' ') + wrong));
            own(e.segments(), design.name);
            // Only the two power switches that feed the input source
            // multiplexer share a segment.
            QCOMPARE(e.shared != nullptr, e.field == FieldId::AGPD || e.field == FieldId::AXPD);
            ++checkEditors;
        }
        for (const ListEditor &e : set->lists) {
            const ControlSpec &design = fieldControl(e.field);
            QCOMPARE(design.kind, ControlKind::List);
            QCOMPARE(int(e.litByIndex.size()), int(design.items.size()));
            QCOMPARE(int(e.litByIndex.size()), int(expectedField(QLatin1String(field(e.field).name)).items.size()));
            // A list shows its first item, whose value 0 the cells hold, and
            // its segments start as that item would colour them.
            QCOMPARE(design.text, design.items.value(0));
            const QString wrong = startsAs(e.segments(), e.litByIndex.at(0));
            QVERIFY2(wrong.isEmpty(), qPrintable(design.name + QLatin1Char(' ') + wrong));
            own(e.segments(), design.name);
            ++listEditors;
        }
    }
    QCOMPARE(checkEditors, int(expectedBoxes().size()));
    QCOMPARE(listEditors, int(expectedLists().size()));
    // Outside the editors' own sets: the segment two switches share and the
    // wires that belong to nobody.
    QList<int> inSets;
    for (const ExpectedField &f : expectedFields())
        inSets << f.segments;
    const QList<int> nobodys = expectedUnownedSegments();
    QSet<int> expected(nobodys.begin(), nobodys.end());
    QSet<int> unowned;
    for (int line = 1; line <= kSegmentCount; ++line) {
        if (!owner.contains(line))
            unowned.insert(line);
        if (inSets.count(line) > 1)
            expected.insert(line);
    }
    QCOMPARE(unowned, expected);
}

ISD5116_WINDOW_TEST_MAIN(TestEditors)
#include "tst_editors.moc"
