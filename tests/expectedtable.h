#pragma once

// The expected table (tests/expected.json): the register map, the controls,
// the tab order and the segment sets as the tests expect them, read once.
// Each test carries it in its resources, so that it reads the same wherever it
// runs.

#include "model/fields.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRect>
#include <QStringList>
#include <QVariant>

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

// A JSON array of numbers or of texts.
template <typename T>
QList<T> listOf(const QJsonValue &v)
{
    QList<T> values;
    for (const QJsonValue &e : v.toArray())
        values << e.toVariant().value<T>();
    return values;
}

inline const QJsonObject &expectedTable()
{
    static const QJsonObject table = [] {
        QFile file(QStringLiteral(":/testdata/expected.json"));
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read the expected table");
        const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
        if (!doc.isObject())
            throw std::runtime_error("the expected table is not a JSON object");
        return doc.object();
    }();
    return table;
}

// The fields in register order: CFG0 D15 first, CFG1 D0 last.
inline const QList<ExpectedField> &expectedFields()
{
    static const QList<ExpectedField> fields = [] {
        QList<ExpectedField> all;
        for (const QJsonValue &v : expectedTable().value("fields").toArray()) {
            const QJsonObject o = v.toObject();
            all << ExpectedField{o.value("name").toString(), o.value("register").toString(),
                                 o.value("highBit").toInt(), o.value("width").toInt(),
                                 o.value("kind").toString(), o.value("control").toString(),
                                 listOf<QString>(o.value("items")), listOf<int>(o.value("segments"))};
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

// The fields set by lists, or those set by boxes.
inline QList<ExpectedField> expectedFieldsOfKind(bool lists)
{
    QList<ExpectedField> some = expectedFields();
    some.removeIf([lists](const ExpectedField &f) { return f.isList() != lists; });
    return some;
}

inline QList<ExpectedField> expectedLists() { return expectedFieldsOfKind(true); }
inline QList<ExpectedField> expectedBoxes() { return expectedFieldsOfKind(false); }

// The model's field of that name.
inline const isd::Field &modelField(const QString &name)
{
    for (const isd::Field &f : isd::fields()) {
        if (QLatin1String(f.name) == name)
            return f;
    }
    throw std::invalid_argument(qPrintable(QStringLiteral("no field %1 in the model").arg(name)));
}

// The registers, CFG0 first, and the labels of each: header, word, cells.
inline QStringList expectedRegisterNames()
{
    QStringList names;
    for (const QJsonValue &v : expectedTable().value("registers").toArray())
        names << v.toObject().value("name").toString();
    return names;
}

inline QJsonObject expectedRegister(const QString &reg)
{
    return expectedTable().value("registers").toArray().at(expectedRegisterNames().indexOf(reg)).toObject();
}

inline QString expectedHeader(const QString &reg) { return expectedRegister(reg).value("header").toString(); }
inline QString expectedWord(const QString &reg) { return expectedRegister(reg).value("word").toString(); }
// D15 first.
inline QStringList expectedCells(const QString &reg) { return listOf<QString>(expectedRegister(reg).value("cells")); }

inline QString expectedCell(const QString &reg, int bit)
{
    const QStringList cells = expectedCells(reg);
    return cells.at(cells.size() - 1 - bit);
}

// The window's own objects: "control", "title", "diagram", "timer", "link".
inline QString expectedWindow(const char *key)
{
    return expectedTable().value("window").toObject().value(QLatin1String(key)).toString();
}

// The focus order: the diagram, then the fields whose controls take the focus.
inline QStringList expectedTabOrder() { return listOf<QString>(expectedTable().value("tabOrder")); }
inline int expectedSegmentCount() { return expectedTable().value("segmentCount").toInt(); }
inline QList<int> expectedThinSegments() { return listOf<int>(expectedTable().value("thinSegments")); }
inline QList<int> expectedUnownedSegments() { return listOf<int>(expectedTable().value("unownedSegments")); }

// Every control's place in pixels at 100 %, by name: "window" for those on
// the window's client area, "diagram" for those on the picture's inner area.
inline QList<std::pair<QString, QRect>> expectedPlaces(const char *surface)
{
    QList<std::pair<QString, QRect>> places;
    const QJsonObject all = expectedTable().value("places").toObject().value(QLatin1String(surface)).toObject();
    if (all.isEmpty())
        throw std::invalid_argument(std::string("no places on the ") + surface + " in the expected table");
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QList<int> r = listOf<int>(it.value());
        places.append({it.key(), QRect(r.value(0), r.value(1), r.value(2), r.value(3))});
    }
    return places;
}

} // namespace testing
