#pragma once

// What the window must show after any run of user actions, worked out apart
// from the window: the 32 cells, both hexadecimal words and the colours of
// the 112 segments. It knows only the field table, the editors' decision
// tables read as data, the segments' initial colours, and the controls' design
// states and list items from the expected table; it names a control by its
// field, and it follows only the user's own actions: the boxes the user
// toggled and the items the user picked. It runs no editor and never looks at
// the window.

#include "editors/editor.h"
#include "model/fields.h"
#include "model/registers.h"
#include "window/segmenttable.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>

namespace testing {

class RegisterOracle
{
public:
    RegisterOracle();

    // The user's actions. A toggle runs the box's editor; a pick of an item
    // (even the one already picked) runs the list's editor; typed text only
    // changes what the list's field shows.
    void toggle(const QString &box);
    void pick(const QString &list, int index);
    void showTyped(const QString &list, const QString &text);

    QStringList boxNames() const { return m_boxOrder; }
    QStringList listNames() const { return m_listOrder; }

    // The controls as the user left them.
    bool isChecked(const QString &box) const;
    int pickedIndex(const QString &list) const;   // -1 until the first pick
    QString shownText(const QString &list) const;
    QStringList items(const QString &list) const;

    // What the window must show.
    QString cell(isd::Register reg, int bit) const;
    QString word(isd::Register reg) const;         // the word after a tick
    isd::SegmentColour colour(int line) const;     // Line1 .. Line112

private:
    struct Box {
        const isd::Field *field = nullptr;
        const isd::CheckEditor *editor = nullptr;
        bool checked = false;
        bool powerBox = false;   // checked means powered: the bit is the inverse
    };
    struct List {
        const isd::Field *field = nullptr;
        const isd::ListEditor *editor = nullptr;
        QStringList items;
        int picked = -1;
        QString shown;
    };

    void setField(const isd::Field &f, unsigned value);
    void colourSet(const isd::SegmentList &set, const isd::SegmentList &lit);
    bool boxChecked(isd::FieldId field) const;

    // m_words[0] is CFG0, m_words[1] CFG1; bit k of a word is register bit Dk.
    std::array<unsigned, 2> m_words{};
    std::array<isd::SegmentColour, 113> m_colours{};   // index 0 unused
    QHash<QString, Box> m_boxes;
    QHash<QString, List> m_lists;
    QStringList m_boxOrder;
    QStringList m_listOrder;
};

QString colourName(isd::SegmentColour c);

} // namespace testing
