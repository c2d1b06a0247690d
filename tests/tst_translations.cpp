// The window's explanations in the user's language: CTest runs this once
// under a Russian and once under an English locale (LANGUAGE, LANG) and says
// which to expect in ISD5116_EXPECTED_LANGUAGE. The explanations (tooltips,
// what screen readers say, the link text) and Qt's own texts follow the
// language; the texts the window shows by design never do.
#include "windowtest.h"

#include "window/valuelabel.h"

#include <QAccessible>
#include <QMenu>
#include <QRegularExpression>

using namespace isd;
using namespace testing;

namespace {

bool russian()
{
    return qEnvironmentVariable("ISD5116_EXPECTED_LANGUAGE") == QLatin1String("ru");
}

const QRegularExpression kCyrillic(QStringLiteral("\\p{Cyrillic}"));
// An English word: the chip's names are upper case ("ANA IN", "CFG0").
const QRegularExpression kEnglishWord(QStringLiteral("\\b[a-z]{2,}\\b"));

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { w.reset(); }
    void explanationsInTheUsersLanguage();
    void explanationsAsWritten_data();
    void explanationsAsWritten();
    void designedTextsInEveryLanguage();
    void qtTextsInTheUsersLanguage();

private:
    std::unique_ptr<ConfigWindow> w;
};

void TestTranslations::initTestCase()
{
    w = openWindow();
    QVERIFY(w);
    QVERIFY(settle(*w));
}

// Every explanation of every control, as tooltip and as a screen reader
// hears it, in the one language: Russian words and no English ones, or no
// Russian at all.
void TestTranslations::explanationsInTheUsersLanguage()
{
    int checked = 0;
    for (QWidget *widget : w->findChildren<QWidget *>()) {
        QStringList texts{widget->toolTip(), widget->accessibleName(), widget->accessibleDescription()};
        // A cell or a word is spoken with its value; a list is labelled for
        // screen readers by a hidden label.
        if (qobject_cast<ValueLabel *>(widget))
            texts << QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        if (auto *label = qobject_cast<QLabel *>(widget); label && label->buddy())
            texts << label->text();
        for (const QString &text : texts) {
            if (text.isEmpty())
                continue;
            ++checked;
            const QString where = widget->objectName() + QStringLiteral(": ") + text;
            if (russian())
                QVERIFY2(!text.contains(kEnglishWord), qPrintable(where));
            else
                QVERIFY2(!text.contains(kCyrillic), qPrintable(where));
        }
    }
    QVERIFY(checked > 200);
    const QString link = w->findChild<QLabel *>(expectedWindow("link"))->text();
    QCOMPARE(link.contains(kCyrillic), russian());
}

void TestTranslations::explanationsAsWritten_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("russian");
    QTest::newRow("power switch") << expectedField("AGPD").control << "AGC amplifier power: checked means powered (CFG1 D0)"
                                  << "питание усилителя AGC: отмечено — питание включено (CFG1 D0)";
    QTest::newRow("select box") << expectedField("INS0").control << "input source: checked selects AUX IN instead of MIC IN (CFG0 D9)"
                                << "источник входного сигнала: отмечено — выбран AUX IN вместо MIC IN (CFG0 D9)";
    QTest::newRow("list") << expectedField("OPS").control << "OPS: source of the output multiplexer (CFG0 D4–D3)"
                          << "OPS: источник выходного мультиплексора (CFG0 D4–D3)";
    QTest::newRow("cell") << expectedCell("CFG0", 7) << "AOS1, bit 1 of AOS: source of the analog output multiplexer"
                          << "AOS1, бит 1 поля AOS: источник аналогового выходного мультиплексора";
    QTest::newRow("word") << expectedWord("CFG1") << "CFG1 as a hexadecimal word, D15-D0"
                          << "CFG1 в виде шестнадцатеричного слова, D15-D0";
}

void TestTranslations::explanationsAsWritten()
{
    QFETCH(QString, control);
    QFETCH(QString, english);
    QFETCH(QString, russian);
    QCOMPARE(w->findChild<QWidget *>(control)->toolTip(), ::russian() ? russian : english);
}

// The title, the header rows, the cells, the words and the list items are
// the same in every language: the design's own texts, partly Russian.
void TestTranslations::designedTextsInEveryLanguage()
{
    QCOMPARE(w->windowTitle(), expectedWindow("title"));
    for (const ControlSpec &design : controlTable()) {
        switch (design.kind) {
        case ControlKind::Header:
        case ControlKind::Cell:
            QCOMPARE(w->findChild<QLabel *>(design.name)->text(), design.text);
            break;
        case ControlKind::Word:
            QCOMPARE(w->findChild<QLabel *>(design.name)->text(), QStringLiteral("0"));
            break;
        default:
            break;
        }
    }
    for (const ExpectedField &f : expectedLists())
        QCOMPARE(itemTexts(list(*w, f.name)), f.items);
    QVERIFY(w->findChild<QLabel *>(expectedHeader("CFG1"))->text().startsWith(
        QLatin1String("CFG1     VLS1")));
}

// The context menu of a list's field (Undo, Redo, Cut, Copy, Paste, Select
// All) comes from Qt's own translation.
void TestTranslations::qtTextsInTheUsersLanguage()
{
    const std::unique_ptr<QMenu> menu(list(*w, "S1M")->lineEdit()->createStandardContextMenu());
    QStringList texts;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text();
    }
    QCOMPARE(texts.size(), 7);
    for (const QString &text : texts)
        QVERIFY2(text.contains(kCyrillic) == russian(), qPrintable(text));
}

ISD5116_WINDOW_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
