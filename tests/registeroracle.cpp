#include "registeroracle.h"

#include "window/controltable.h"
#include "window/segmenttable.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace testing {

using isd::SegmentColour;

namespace {

// The two power switches whose amplifiers feed the input source multiplexer;
// its output wire Line17 is in use while either of them is checked.
const QString kAgcBox = QStringLiteral("Check1");
const QString kAuxInBox = QStringLiteral("Check2");
constexpr int kInputMuxOutput = 17;

int registerIndex(isd::Register reg)
{
    return reg == isd::Register::CFG0 ? 0 : 1;
}

bool contains(const isd::SegmentList &list, int line)
{
    return std::find(list.begin(), list.end(), line) != list.end();
}

// The editor of a control, found in one kind of table (checks or lists) of
// the editor sets; nullptr when none has it.
template <typename Editor>
const Editor *editorOf(const QString &control, const std::vector<const isd::EditorSet *> &sets,
                       std::vector<Editor> isd::EditorSet::*table)
{
    for (const isd::EditorSet *set : sets) {
        for (const Editor &e : set->*table) {
            if (control == QLatin1String(isd::field(e.field).editor))
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

    // Controls: their design states, and the editor of each.
    const std::vector<const isd::EditorSet *> sets{
        &isd::inputStageEditors(), &isd::mixerFilterEditors(), &isd::volumeOutputEditors()};
    for (const isd::ControlSpec &design : isd::controlTable()) {
        if (design.kind == isd::ControlKind::CheckBox) {
            Box box;
            box.checked = design.checked;
            box.editor = editorOf(design.name, sets, &isd::EditorSet::checks);
            if (!box.editor)
                throw std::logic_error("check box without an editor");
            box.field = &isd::field(box.editor->field);
            m_boxes.insert(design.name, box);
            m_boxOrder << design.name;
        } else if (design.kind == isd::ControlKind::List) {
            List list;
            list.items = design.items;
            list.shown = design.text;
            list.editor = editorOf(design.name, sets, &isd::EditorSet::lists);
            if (!list.editor)
                throw std::logic_error("list without an editor");
            list.field = &isd::field(list.editor->field);
            m_lists.insert(design.name, list);
            m_listOrder << design.name;
        }
    }
    // Every cell starts at "0": m_words is zero.
}

void RegisterOracle::setField(const isd::Field &f, unsigned value)
{
    unsigned &word = m_words[size_t(registerIndex(f.reg))];
    const int lowBit = f.highBit - f.width + 1;
    const unsigned mask = ((1u << f.width) - 1u) << lowBit;
    word = (word & ~mask) | ((value << lowBit) & mask);
}

void RegisterOracle::colourSet(const isd::SegmentList &set, const isd::SegmentList &lit)
{
    for (int line : set)
        m_colours.at(size_t(line)) = contains(lit, line) ? SegmentColour::Highlight : SegmentColour::Idle;
}

void RegisterOracle::recolourAmplifierMuxOutput()
{
    const bool inUse = m_boxes.value(kAgcBox).checked || m_boxes.value(kAuxInBox).checked;
    m_colours.at(kInputMuxOutput) = inUse ? SegmentColour::Highlight : SegmentColour::Idle;
}

void RegisterOracle::toggle(const QString &name)
{
    auto it = m_boxes.find(name);
    if (it == m_boxes.end())
        throw std::invalid_argument("no such check box");
    Box &box = it.value();
    box.checked = !box.checked;

    // Power-down bits are the inverse of the box; select bits follow it.
    const bool bit = box.field->sense == isd::BitSense::PowerDown ? !box.checked : box.checked;
    setField(*box.field, bit ? 1u : 0u);
    colourSet(box.editor->segments,
              box.checked ? box.editor->litWhenChecked : box.editor->litWhenUnchecked);
    if (name == kAgcBox || name == kAuxInBox)
        recolourAmplifierMuxOutput();
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
    colourSet(list.editor->segments, list.editor->litByIndex[size_t(index)]);
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

QString RegisterOracle::cell(int labelNumber) const
{
    // Label3..Label18 hold CFG0 D15..D0, Label19..Label34 CFG1 D15..D0.
    if (labelNumber < 3 || labelNumber > 34)
        throw std::invalid_argument("not a bit cell");
    const int reg = labelNumber <= 18 ? 0 : 1;
    const int bit = (reg == 0 ? 18 : 34) - labelNumber;
    return (m_words[size_t(reg)] >> bit) & 1u ? QStringLiteral("1") : QStringLiteral("0");
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
