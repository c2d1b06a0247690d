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

// A check box's editor: one test, whether its box is checked.
struct CheckEditor {
    FieldId field;               // a one-bit field; the box is field(field).editor
    SegmentList segments;        // the editor's segment set, in the order it writes them
    SegmentList litWhenChecked;  // segments highlighted when the box is checked
    SegmentList litWhenUnchecked;
    // A step run after the main one, for a segment shared with another box.
    void (*sharedStep)(EditorTarget &) = nullptr;
};

// A list's editor: the selected index is the field's value. One row per list
// item; an index without a row (-1 included) writes nothing.
struct ListEditor {
    FieldId field;
    SegmentList segments;
    std::vector<SegmentList> litByIndex;   // row k: segments highlighted for index k
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
