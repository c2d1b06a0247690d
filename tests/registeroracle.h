#pragma once

// What the window must show after any run of user actions, worked out apart
// from the window: the 32 cells, both hexadecimal words and the colours of
// the 112 segments. It knows only the expected table (the fields' bits, the
// controls' design states and list items), the editors' decision tables read
// as data and the segments' initial colours; it names a control by its
// field, and it follows only the user's own actions: the boxes the user
// toggled and the items the user picked. It runs no editor and never looks at
// the window.

#include "expectedtable.h"

#include "editors/editor.h"
#include "model/registers.h"
#include "window/segmenttable.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <stdexcept>

namespace testing {

class RegisterOracle
{
public:
    RegisterOracle()
    {
        for (const isd::Segment &s : isd::segments())
            m_colours.at(size_t(s.number)) = s.initial;
        // Every cell starts at "0": m_words is zero.
        for (const ExpectedField &f : expectedFields()) {
            const isd::FieldId id = modelField(f.name).id;
            if (f.isList()) {
                m_lists.insert(f.name, {f, editorOf(id, &isd::EditorSet::lists), -1, f.items.first()});
                m_listOrder << f.name;
            } else {
                m_boxes.insert(f.name, {f, editorOf(id, &isd::EditorSet::checks), f.checkedAtStart()});
                m_boxOrder << f.name;
            }
        }
    }

    // The user's actions. A toggle runs the box's editor; a pick of an item
    // (even the one already picked) runs the list's editor; typed text only
    // changes what the list's field shows.
    void toggle(const QString &name)
    {
        Box &box = m_boxes[name];
        box.checked = !box.checked;
        // Power-down bits are the inverse of the box; select bits follow it.
        const bool bit = box.field.isPowerBox() ? !box.checked : box.checked;
        setField(box.field, bit ? 1u : 0u);
        colourSet(box.editor->segments(), box.checked ? box.editor->litWhenChecked : box.editor->litWhenUnchecked);
        // A shared segment is in use while either of its boxes is checked.
        if (const isd::SharedSegment *shared = box.editor->shared) {
            const bool inUse = boxChecked(shared->boxes[0]) || boxChecked(shared->boxes[1]);
            m_colours.at(size_t(shared->line)) = inUse ? isd::SegmentColour::Highlight : isd::SegmentColour::Idle;
        }
    }

    void pick(const QString &name, int index)
    {
        List &list = m_lists[name];
        list.picked = index;
        list.shown = list.field.items.at(index);
        // The index is the field's value; an index without a row writes nothing.
        if (index >= int(list.editor->litByIndex.size()))
            return;
        setField(list.field, unsigned(index));
        colourSet(list.editor->segments(), list.editor->litByIndex[size_t(index)]);
    }

    void showTyped(const QString &list, const QString &text) { m_lists[list].shown = text; }

    QStringList boxNames() const { return m_boxOrder; }
    QStringList listNames() const { return m_listOrder; }

    // The controls as the user left them.
    bool isChecked(const QString &box) const { return m_boxes.value(box).checked; }
    int pickedIndex(const QString &list) const { return m_lists.value(list).picked; }   // -1 until the first pick
    QString shownText(const QString &list) const { return m_lists.value(list).shown; }
    QStringList items(const QString &list) const { return m_lists.value(list).field.items; }

    // What the window must show: a cell, the word after a tick, the colour
    // of Line1 .. Line112.
    QString cell(isd::Register reg, int bit) const
    {
        return QString::number((m_words.at(size_t(reg)) >> bit) & 1u);
    }
    QString word(isd::Register reg) const { return QString::number(m_words.at(size_t(reg)), 16).toUpper(); }
    isd::SegmentColour colour(int line) const { return m_colours.at(size_t(line)); }

private:
    struct Box {
        ExpectedField field;
        const isd::CheckEditor *editor = nullptr;
        bool checked = false;
    };
    struct List {
        ExpectedField field;
        const isd::ListEditor *editor = nullptr;
        int picked = -1;
        QString shown;
    };

    // The editor of a field, found in one kind of table (checks or lists) of
    // the editor sets.
    template <typename Editor>
    static const Editor *editorOf(isd::FieldId field, std::vector<Editor> isd::EditorSet::*table)
    {
        for (const isd::EditorSet *set : isd::allEditorSets()) {
            for (const Editor &e : set->*table) {
                if (e.field == field)
                    return &e;
            }
        }
        throw std::logic_error("a field without an editor");
    }

    void setField(const ExpectedField &f, unsigned value)
    {
        unsigned &word = m_words.at(size_t(expectedRegisterNames().indexOf(f.reg)));
        const unsigned mask = ((1u << f.width) - 1u) << f.lowBit();
        word = (word & ~mask) | ((value << f.lowBit()) & mask);
    }

    void colourSet(const isd::SegmentList &set, const isd::SegmentList &lit)
    {
        for (int line : set) {
            const bool on = std::find(lit.begin(), lit.end(), line) != lit.end();
            m_colours.at(size_t(line)) = on ? isd::SegmentColour::Highlight : isd::SegmentColour::Idle;
        }
    }

    bool boxChecked(isd::FieldId field) const
    {
        const auto box = m_boxes.constFind(QLatin1String(isd::field(field).name));
        if (box == m_boxes.cend())
            throw std::logic_error("a segment shared with a field no box sets");
        return box->checked;
    }

    // m_words[0] is CFG0, m_words[1] CFG1; bit k of a word is register bit Dk.
    std::array<unsigned, isd::kRegisterCount> m_words{};
    std::array<isd::SegmentColour, 113> m_colours{};   // index 0 unused
    QHash<QString, Box> m_boxes;
    QHash<QString, List> m_lists;
    QStringList m_boxOrder;
    QStringList m_listOrder;
};

} // namespace testing
