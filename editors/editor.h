#pragma once

#include "editors/editortarget.h"
#include "model/fields.h"

#include <initializer_list>
#include <vector>

namespace isd {

// Segment numbers: N stands for LineN.
using SegmentList = std::vector<int>;

// The segments of several groups, one after the other.
SegmentList joined(std::initializer_list<SegmentList> groups);

// A segment that two boxes' editors both write: lit while either box is
// checked. Each editor writes it after its own segment set.
struct SharedSegment {
    int line;
    FieldId boxes[2];
};

// A check box's editor: one test, whether its box is checked. Its segment
// set is every segment of its two rows, lit in one row and idle in the other.
struct CheckEditor {
    FieldId field;                       // a one-bit field set by a check box
    SegmentList litWhenUnchecked;
    SegmentList litWhenChecked;
    const SharedSegment *shared = nullptr;

    // The segment set, in the order the editor writes it.
    SegmentList segments() const;
};

// A list's editor: the selected index is the field's value. One row per list
// item; an index without a row (-1 included) writes nothing. Its segment set
// is every segment lit in some row.
struct ListEditor {
    FieldId field;
    std::vector<SegmentList> litByIndex;   // row k: segments lit for index k

    SegmentList segments() const;
};

// The controls of one part of the chip and their editors.
struct EditorSet {
    std::vector<CheckEditor> checks;
    std::vector<ListEditor> lists;
};

// Run an editor as the Click handler of its control: read the control, write
// the field's cells low bit first, then every segment of the set.
void runEditor(const CheckEditor &editor, EditorTarget &target);
void runEditor(const ListEditor &editor, EditorTarget &target);

// Write a field's value into its cells, low bit first.
void writeField(const Field &f, int value, EditorTarget &target);

// The editors of the input stage, of the mixer and filter, and of the volume
// control and output stage, and all of them together.
const EditorSet &inputStageEditors();
const EditorSet &mixerFilterEditors();
const EditorSet &volumeOutputEditors();
std::vector<const EditorSet *> allEditorSets();

} // namespace isd
