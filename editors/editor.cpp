#include "editors/editor.h"

#include "model/cells.h"

#include <algorithm>

namespace isd {

namespace {

bool contains(const SegmentList &list, int line)
{
    return std::find(list.begin(), list.end(), line) != list.end();
}

// The rows' segments in order of first appearance.
SegmentList unionOf(const std::vector<const SegmentList *> &rows)
{
    SegmentList all;
    for (const SegmentList *row : rows) {
        for (int line : *row) {
            if (!contains(all, line))
                all.push_back(line);
        }
    }
    return all;
}

void colourSet(const SegmentList &set, const SegmentList &lit, EditorTarget &target)
{
    for (int line : set)
        target.setSegmentLit(line, contains(lit, line));
}

} // namespace

SegmentList joined(std::initializer_list<SegmentList> groups)
{
    SegmentList all;
    for (const SegmentList &g : groups)
        all.insert(all.end(), g.begin(), g.end());
    return all;
}

SegmentList CheckEditor::segments() const
{
    return unionOf({&litWhenUnchecked, &litWhenChecked});
}

SegmentList ListEditor::segments() const
{
    std::vector<const SegmentList *> rows;
    for (const SegmentList &row : litByIndex)
        rows.push_back(&row);
    return unionOf(rows);
}

void writeField(const Field &f, int value, EditorTarget &target)
{
    for (int i = 0; i < f.width; ++i)
        target.writeCell(f.reg, f.lowBit() + i, cellText((value >> i) & 1));
}

void runEditor(const CheckEditor &editor, EditorTarget &target)
{
    const Field &f = field(editor.field);
    const bool checked = target.isChecked(editor.field);
    const bool bit = f.editedBy == EditedBy::PowerSwitch ? !checked : checked;
    writeField(f, bit ? 1 : 0, target);
    colourSet(editor.segments(), checked ? editor.litWhenChecked : editor.litWhenUnchecked, target);
    if (const SharedSegment *shared = editor.shared) {
        const bool eitherChecked = target.isChecked(shared->boxes[0]) || target.isChecked(shared->boxes[1]);
        target.setSegmentLit(shared->line, eitherChecked);
    }
}

void runEditor(const ListEditor &editor, EditorTarget &target)
{
    const Field &f = field(editor.field);
    const int index = target.selectedIndex(editor.field);
    if (index < 0 || index >= int(editor.litByIndex.size()))
        return;
    writeField(f, index, target);
    colourSet(editor.segments(), editor.litByIndex[size_t(index)], target);
}

std::vector<const EditorSet *> allEditorSets()
{
    return {&inputStageEditors(), &mixerFilterEditors(), &volumeOutputEditors()};
}

} // namespace isd
