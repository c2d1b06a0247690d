#pragma once

// The expected table (tests/expected.json): the register map, the controls,
// the tab order and the segment sets as the tests expect them, read once.
// CMake passes its path in ISD5116_EXPECTED_TABLE.

#include "model/fields.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace testing {

struct ExpectedField {
    QString name;         // AIG, AIPD, ...
    QString reg;          // CFG0 or CFG1
    int highBit = 0;      // D-number of its first cell
    int width = 0;
    QString kind;         // "power box", "select box" or "list"
    QString control;      // the objectName of the control that sets it
    QStringList items;    // lists: the items, index 0 first
    QList<int> segments;  // the segments its editor recolours

    bool isList() const { return kind == QLatin1String("list"); }
    bool isPowerBox() const { return kind == QLatin1String("power box"); }
    int lowBit() const { return highBit - width + 1; }
    // A box's design state stands for bit 0: powered, or not selected.
    bool checkedAtStart() const { return isPowerBox(); }
};

inline QList<int> intList(const QJsonValue &v)
{
    QList<int> numbers;
    for (const QJsonValue &n : v.toArray())
        numbers << n.toInt();
    return numbers;
}

inline QStringList stringList(const QJsonValue &v)
{
    QStringList texts;
    for (const QJsonValue &t : v.toArray())
        texts << t.toString();
    return texts;
}

inline const QJsonObject &expectedTable()
{
    static const QJsonObject table = [] {
        QFile file(QStringLiteral(ISD5116_EXPECTED_TABLE));
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read " ISD5116_EXPECTED_TABLE);
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
        if (!doc.isObject())
            throw std::runtime_error(qPrintable(error.errorString()));
        return doc.object();
    }();
    return table;
}

// The fields in register order: CFG0 D15 first, CFG1 D0 last.
inline const QList<ExpectedField> &expectedFields()
{
    static const QList<ExpectedField> fields = [] {
        QList<ExpectedField> all;
        for (const QJsonValue &v : expectedTable().value(QLatin1String("fields")).toArray()) {
            const QJsonObject o = v.toObject();
            all << ExpectedField{o.value(QLatin1String("name")).toString(), o.value(QLatin1String("register")).toString(),
                                 o.value(QLatin1String("highBit")).toInt(), o.value(QLatin1String("width")).toInt(),
                                 o.value(QLatin1String("kind")).toString(), o.value(QLatin1String("control")).toString(),
                                 stringList(o.value(QLatin1String("items"))), intList(o.value(QLatin1String("segments")))};
        }
        return all;
    }();
    return fields;
}

inline const ExpectedField &expectedField(const QString &name)
{
    for (const ExpectedField &f : expectedFields()) {
        if (f.name == name)
            return f;
    }
    throw std::invalid_argument(qPrintable(QStringLiteral("no field %1 in the expected table").arg(name)));
}

inline QList<ExpectedField> expectedFields(bool lists)
{
    QList<ExpectedField> some;
    for (const ExpectedField &f : expectedFields()) {
        if (f.isList() == lists)
            some << f;
    }
    return some;
}

inline QList<ExpectedField> expectedLists() { return expectedFields(true); }
inline QList<ExpectedField> expectedBoxes() { return expectedFields(false); }

// The model's field of that name.
inline const isd::Field &modelField(const QString &name)
{
    for (const isd::Field &f : isd::fields()) {
        if (QLatin1String(f.name) == name)
            return f;
    }
    throw std::invalid_argument(qPrintable(QStringLiteral("no field %1 in the model").arg(name)));
}

// A register's entry: its header, word and cells (D15 first).
inline QJsonObject expectedRegister(const QString &reg)
{
    for (const QJsonValue &v : expectedTable().value(QLatin1String("registers")).toArray()) {
        if (v.toObject().value(QLatin1String("name")).toString() == reg)
            return v.toObject();
    }
    throw std::invalid_argument(qPrintable(reg));
}

inline QStringList expectedRegisterNames()
{
    QStringList names;
    for (const QJsonValue &v : expectedTable().value(QLatin1String("registers")).toArray())
        names << v.toObject().value(QLatin1String("name")).toString();
    return names;
}

inline QString expectedCell(const QString &reg, int bit)
{
    const QStringList cells = stringList(expectedRegister(reg).value(QLatin1String("cells")));
    return cells.at(cells.size() - 1 - bit);
}

inline QString expectedWord(const QString &reg)
{
    return expectedRegister(reg).value(QLatin1String("word")).toString();
}

inline QString expectedWindow(const char *key)
{
    return expectedTable().value(QLatin1String("window")).toObject().value(QLatin1String(key)).toString();
}

// The focus order: "Picture1", then the fields whose controls take the focus.
inline QStringList expectedTabOrder() { return stringList(expectedTable().value(QLatin1String("tabOrder"))); }
inline int expectedSegmentCount() { return expectedTable().value(QLatin1String("segmentCount")).toInt(); }
inline QList<int> expectedThinSegments() { return intList(expectedTable().value(QLatin1String("thinSegments"))); }
inline QList<int> expectedUnownedSegments() { return intList(expectedTable().value(QLatin1String("unownedSegments"))); }

} // namespace testing
