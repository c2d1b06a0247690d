#include "editors/editor.h"

#include "model/cells.h"

#include <algorithm>

namespace isd {

namespace {

void colourSet(const SegmentList &set, const SegmentList &lit, EditorTarget &target)
{
    for (int line : set) {
        const bool on = std::find(lit.begin(), lit.end(), line) != lit.end();
        target.setSegmentColour(line, on ? SegmentColour::Highlight : SegmentColour::Idle);
    }
}

} // namespace

SegmentList joined(std::initializer_list<SegmentList> groups)
{
    SegmentList all;
    for (const SegmentList &g : groups)
        all.insert(all.end(), g.begin(), g.end());
    return all;
}

void writeField(const Field &f, int value, EditorTarget &target)
{
    const int lowBit = f.highBit - f.width + 1;
    for (int i = 0; i < f.width; ++i)
        target.writeCell(cellLabelNumber(f.reg, lowBit + i), cellText((value >> i) & 1));
}

void runEditor(const CheckEditor &editor, EditorTarget &target)
{
    const Field &f = field(editor.field);
    const bool checked = target.isChecked(QString::fromLatin1(f.editor));
    const bool bit = f.sense == BitSense::PowerDown ? !checked : checked;
    writeField(f, bit ? 1 : 0, target);
    colourSet(editor.segments, checked ? editor.litWhenChecked : editor.litWhenUnchecked, target);
    if (editor.sharedStep)
        editor.sharedStep(target);
}

void runEditor(const ListEditor &editor, EditorTarget &target)
{
    const Field &f = field(editor.field);
    const int index = target.selectedIndex(QString::fromLatin1(f.editor));
    if (index < 0 || index >= int(editor.litByIndex.size()))
        return;
    writeField(f, index, target);
    colourSet(editor.segments, editor.litByIndex[size_t(index)], target);
}

std::vector<const EditorSet *> allEditorSets()
{
    return {&inputStageEditors(), &mixerFilterEditors(), &volumeOutputEditors()};
}

} // namespace isd
