// The register layout, the field table, the cell rules, the word text and the
// register headers, checked against the chip's own register map.
#include "model/cells.h"
#include "model/descriptions.h"
#include "model/fields.h"
#include "model/registerheader.h"
#include "expectedtable.h"

#include <QHash>
#include <QTest>

using namespace isd;
using testing::ExpectedField;
using testing::expectedFields;
using testing::modelField;

Q_DECLARE_METATYPE(isd::Register)
Q_DECLARE_METATYPE(isd::FieldId)

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void bitNames_data();
    void bitNames();
    void fieldTable_data();
    void fieldTable();
    void cellValue_data();
    void cellValue();
    void word_data();
    void word();
    void header_data();
    void header();
    void controlTexts_data();
    void controlTexts();
    void cellTexts_data();
    void cellTexts();
    void wordTexts_data();
    void wordTexts();
};

void TestModel::bitNames_data()
{
    QTest::addColumn<Register>("reg");
    QTest::addColumn<int>("bit");
    QTest::addColumn<QString>("name");

    // A one-bit field's bit has the field's name; a wider field's bits its
    // stem and their place in it (AIG1, AIG0).
    for (const ExpectedField &f : expectedFields()) {
        const Register reg = f.reg == QLatin1String("CFG0") ? Register::CFG0 : Register::CFG1;
        for (int bit = f.highBit; bit >= f.lowBit(); --bit) {
            const QString name = f.width == 1 ? f.name : f.name + QString::number(bit - f.lowBit());
            QTest::addRow("%s D%d", qPrintable(f.reg), bit) << reg << bit << name;
        }
    }
}

void TestModel::bitNames()
{
    QFETCH(Register, reg);
    QFETCH(int, bit);
    QFETCH(QString, name);
    QCOMPARE(bitName(reg, bit), name);
}

void TestModel::fieldTable_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("reg");
    QTest::addColumn<QString>("bits");
    QTest::addColumn<int>("editedBy");

    const QHash<QString, EditedBy> editors{{QStringLiteral("list"), EditedBy::List},
                                           {QStringLiteral("power box"), EditedBy::PowerSwitch},
                                           {QStringLiteral("select box"), EditedBy::SelectBox}};
    for (const ExpectedField &f : expectedFields()) {
        QString bits = QStringLiteral("D%1").arg(f.highBit);
        if (f.width > 1)
            bits += QStringLiteral("\u2013D%1").arg(f.lowBit());
        QTest::newRow(qPrintable(f.name)) << int(modelField(f.name).id) << f.reg << bits
                                          << int(editors.value(f.kind));
    }
    QCOMPARE(int(fields().size()), int(expectedFields().size()));
}

// Each field where the chip's register map puts it; that the fields cover
// every bit once is checked when the table compiles.
void TestModel::fieldTable()
{
    QFETCH(int, id);
    QFETCH(QString, reg);
    QFETCH(QString, bits);
    QFETCH(int, editedBy);
    const Field &f = field(FieldId(id));
    QCOMPARE(QString::fromLatin1(f.name), QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(registerName(f.reg), reg);
    QCOMPARE(bitRange(f), bits);
    QCOMPARE(int(f.editedBy), editedBy);
    for (int bit = f.lowBit(); bit <= f.highBit; ++bit)
        QCOMPARE(fieldOfBit(f.reg, bit).id, f.id);
}

void TestModel::cellValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("one") << "1" << 1;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("leading blank") << " 1" << 1;
    QTest::newRow("trailing text") << "1x" << 1;
    QTest::newRow("not a number") << "x1" << 0;
    QTest::newRow("hex prefix") << "0x0000" << 0;
    QTest::newRow("minus sign") << "-1" << 0;
    QTest::newRow("huge stays bounded") << "99999999999999999999" << 999999999;
}

void TestModel::cellValue()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(isd::cellValue(text), value);
}

void TestModel::word_data()
{
    QTest::addColumn<QStringList>("cells");   // D15 first
    QTest::addColumn<QString>("text");

    const QStringList zeros(16, QStringLiteral("0"));
    auto with = [&](std::initializer_list<int> bits) {
        QStringList c = zeros;
        for (int bit : bits)
            c[15 - bit] = QStringLiteral("1");
        return c;
    };
    QTest::newRow("all zero") << zeros << "0";
    QTest::newRow("all one") << QStringList(16, QStringLiteral("1")) << "FFFF";
    QTest::newRow("D15 only") << with({15}) << "8000";
    QTest::newRow("D0 only") << with({0}) << "1";
    QTest::newRow("D4 only, no leading zeros") << with({4}) << "10";
    QTest::newRow("A4") << with({7, 5, 2}) << "A4";
    QTest::newRow("D15 D14 D12 D11") << with({15, 14, 12, 11}) << "D800";
}

void TestModel::word()
{
    QFETCH(QStringList, cells);
    QFETCH(QString, text);
    QCOMPARE(wordText(wordValue(cells)), text);
}

void TestModel::header_data()
{
    QTest::addColumn<Register>("reg");
    QTest::addColumn<QString>("text");

    const QString numbers = QStringLiteral(
        "               D15      D14       D13       D12        D11       D10        D9         D8"
        "          D7          D6          D5         D4           D3          D2          D1         D0");
    QTest::newRow("CFG0") << Register::CFG0
                          << QStringLiteral(
                                 "CFG0     AIG1     AIG0     AIPD     AXG1     AXG0     AXPD     INS0     AOS2"
                                 "     AOS1     AOS0     AOPD     OPS1     OPS0     OPA1     OPA0     VLPD          HEX\n")
                                 + numbers + QStringLiteral("          D15-D0");
    QTest::newRow("CFG1") << Register::CFG1
                          << QStringLiteral(
                                 "CFG1     VLS1    VLS0    VOL2     VOL1     VOL0      S1S1     S1S0     S1M1"
                                 "     S1M0     S2M1     S2M0      FLS0       FLD1     FLD0      FLPD     AGPD          HEX\n")
                                 + numbers + QStringLiteral("           D15-D0");
}

void TestModel::header()
{
    QFETCH(Register, reg);
    QFETCH(QString, text);
    QCOMPARE(registerHeader(reg), text);
}

void TestModel::controlTexts_data()
{
    QTest::addColumn<FieldId>("field");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::newRow("power switch") << FieldId::AGPD << "AGPD" << "AGC amplifier power: checked means powered (CFG1 D0)";
    QTest::newRow("select bit") << FieldId::INS0 << "INS0" << "input source: checked selects AUX IN instead of MIC IN (CFG0 D9)";
    QTest::newRow("list") << FieldId::AOS << "AOS, source of the analog output multiplexer" << "AOS: source of the analog output multiplexer (CFG0 D8–D6)";
    QTest::newRow("list of two bits") << FieldId::AXG << "AXG, gain of the AUX IN amplifier" << "AXG: gain of the AUX IN amplifier (CFG0 D12–D11)";
}

void TestModel::controlTexts()
{
    QFETCH(FieldId, field);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QCOMPARE(controlName(isd::field(field)), name);
    QCOMPARE(controlDescription(isd::field(field)), description);
}

void TestModel::cellTexts_data()
{
    QTest::addColumn<Register>("reg");
    QTest::addColumn<int>("bit");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("CFG0 D13") << Register::CFG0 << 13 << "CFG0 D13 AIPD" << "AIPD, ANA IN amplifier power: 1 means powered down" << "1" << "AIPD, CFG0 D13: 1";
    QTest::newRow("CFG0 D7") << Register::CFG0 << 7 << "CFG0 D7 AOS1" << "AOS1, bit 1 of AOS: source of the analog output multiplexer" << "0" << "AOS1, CFG0 D7: 0";
    QTest::newRow("CFG0 D12") << Register::CFG0 << 12 << "CFG0 D12 AXG1" << "AXG1, bit 1 of AXG: gain of the AUX IN amplifier" << "1" << "AXG1, CFG0 D12: 1";
    QTest::newRow("CFG1 D4") << Register::CFG1 << 4 << "CFG1 D4 FLS0" << "FLS0, filter input: 1 means ARRAY instead of SUM1" << "0" << "FLS0, CFG1 D4: 0";
    QTest::newRow("CFG1 D0") << Register::CFG1 << 0 << "CFG1 D0 AGPD" << "AGPD, AGC amplifier power: 1 means powered down" << "1" << "AGPD, CFG1 D0: 1";
}

void TestModel::cellTexts()
{
    QFETCH(Register, reg);
    QFETCH(int, bit);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFETCH(QString, shown);
    QFETCH(QString, spoken);
    QCOMPARE(cellAccessibleName(reg, bit), name);
    QCOMPARE(cellDescription(reg, bit), description);
    QCOMPARE(cellSpokenName(reg, bit, shown), spoken);
}

void TestModel::wordTexts_data()
{
    QTest::addColumn<Register>("reg");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("CFG0") << Register::CFG0 << "1800" << "CFG0 hex 1800";
    QTest::newRow("CFG1 at zero") << Register::CFG1 << "0" << "CFG1 hex 0";
}

void TestModel::wordTexts()
{
    QFETCH(Register, reg);
    QFETCH(QString, shown);
    QFETCH(QString, spoken);
    QCOMPARE(wordSpokenName(reg, shown), spoken);
}

QTEST_APPLESS_MAIN(TestModel)
#include "tst_model.moc"
