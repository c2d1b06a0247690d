#include "registeroracle.h"

#include "expectedtable.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace testing {

using isd::SegmentColour;

namespace {

int registerIndex(isd::Register reg)
{
    return reg == isd::Register::CFG0 ? 0 : 1;
}

bool contains(const isd::SegmentList &list, int line)
{
    return std::find(list.begin(), list.end(), line) != list.end();
}

// The editor of a field, found in one kind of table (checks or lists) of
// the editor sets; nullptr when none has it.
template <typename Editor>
const Editor *editorOf(isd::FieldId field, const std::vector<const isd::EditorSet *> &sets,
                       std::vector<Editor> isd::EditorSet::*table)
{
    for (const isd::EditorSet *set : sets) {
        for (const Editor &e : set->*table) {
            if (e.field == field)
                return &e;
        }
    }
    return nullptr;
}

} // namespace

QString colourName(SegmentColour c)
{
    switch (c) {
    case SegmentColour::Default:
        return QStringLiteral("default");
    case SegmentColour::Idle:
        return QStringLiteral("idle");
    case SegmentColour::Highlight:
        return QStringLiteral("highlight");
    }
    return QStringLiteral("?");
}

RegisterOracle::RegisterOracle()
{
    // Segments: the colours they have before any editor runs.
    for (const isd::Segment &s : isd::segments())
        m_colours.at(size_t(s.number)) = s.initial;

    // Controls, by field: their design states from the expected table, and
    // the editor of each.
    const std::vector<const isd::EditorSet *> sets{
        &isd::inputStageEditors(), &isd::mixerFilterEditors(), &isd::volumeOutputEditors()};
    for (const ExpectedField &expected : expectedFields()) {
        const isd::Field &f = modelField(expected.name);
        if (expected.isList()) {
            List list;
            list.field = &f;
            list.items = expected.items;
            list.shown = expected.items.first();
            list.editor = editorOf(f.id, sets, &isd::EditorSet::lists);
            if (!list.editor)
                throw std::logic_error("list without an editor");
            m_lists.insert(expected.name, list);
            m_listOrder << expected.name;
        } else {
            Box box;
            box.field = &f;
            box.checked = expected.checkedAtStart();
            box.powerBox = expected.isPowerBox();
            box.editor = editorOf(f.id, sets, &isd::EditorSet::checks);
            if (!box.editor)
                throw std::logic_error("check box without an editor");
            m_boxes.insert(expected.name, box);
            m_boxOrder << expected.name;
        }
    }
    // Every cell starts at "0": m_words is zero.
}

void RegisterOracle::setField(const isd::Field &f, unsigned value)
{
    unsigned &word = m_words[size_t(registerIndex(f.reg))];
    const unsigned mask = ((1u << f.width) - 1u) << f.lowBit();
    word = (word & ~mask) | ((value << f.lowBit()) & mask);
}

void RegisterOracle::colourSet(const isd::SegmentList &set, const isd::SegmentList &lit)
{
    for (int line : set)
        m_colours.at(size_t(line)) = contains(lit, line) ? SegmentColour::Highlight : SegmentColour::Idle;
}

bool RegisterOracle::boxChecked(isd::FieldId field) const
{
    for (const Box &box : m_boxes) {
        if (box.field->id == field)
            return box.checked;
    }
    throw std::invalid_argument("no check box sets this field");
}

void RegisterOracle::toggle(const QString &name)
{
    auto it = m_boxes.find(name);
    if (it == m_boxes.end())
        throw std::invalid_argument("no such check box");
    Box &box = it.value();
    box.checked = !box.checked;

    // Power-down bits are the inverse of the box; select bits follow it.
    const bool bit = box.powerBox ? !box.checked : box.checked;
    setField(*box.field, bit ? 1u : 0u);
    colourSet(box.editor->segments(),
              box.checked ? box.editor->litWhenChecked : box.editor->litWhenUnchecked);
    // A shared segment is in use while either of its boxes is checked.
    if (const isd::SharedSegment *shared = box.editor->shared) {
        const bool inUse = boxChecked(shared->boxes[0]) || boxChecked(shared->boxes[1]);
        m_colours.at(size_t(shared->line)) = inUse ? SegmentColour::Highlight : SegmentColour::Idle;
    }
}

void RegisterOracle::pick(const QString &name, int index)
{
    auto it = m_lists.find(name);
    if (it == m_lists.end())
        throw std::invalid_argument("no such list");
    List &list = it.value();
    if (index < 0 || index >= list.items.size())
        throw std::invalid_argument("no such item");
    list.picked = index;
    list.shown = list.items.at(index);
    // The index is the field's value; an index without a row writes nothing.
    if (index >= int(list.editor->litByIndex.size()))
        return;
    setField(*list.field, unsigned(index));
    colourSet(list.editor->segments(), list.editor->litByIndex[size_t(index)]);
}

void RegisterOracle::showTyped(const QString &name, const QString &text)
{
    m_lists[name].shown = text;
}

bool RegisterOracle::isChecked(const QString &box) const
{
    return m_boxes.value(box).checked;
}

int RegisterOracle::pickedIndex(const QString &list) const
{
    return m_lists.value(list).picked;
}

QString RegisterOracle::shownText(const QString &list) const
{
    return m_lists.value(list).shown;
}

QStringList RegisterOracle::items(const QString &list) const
{
    return m_lists.value(list).items;
}

QString RegisterOracle::cell(isd::Register reg, int bit) const
{
    if (bit < 0 || bit >= isd::kBitsPerRegister)
        throw std::invalid_argument("not a register bit");
    return (m_words[size_t(registerIndex(reg))] >> bit) & 1u ? QStringLiteral("1") : QStringLiteral("0");
}

QString RegisterOracle::word(isd::Register reg) const
{
    char text[8];
    std::snprintf(text, sizeof text, "%X", m_words[size_t(registerIndex(reg))]);
    return QString::fromLatin1(text);
}

SegmentColour RegisterOracle::colour(int line) const
{
    return m_colours.at(size_t(line));
}

} // namespace testing
