#pragma once

#include "model/fields.h"

#include <QString>

namespace isd {

// What an editor may touch in the window: it reads the control that sets its
// field, writes the field's bit cells and lights or darkens diagram
// segments (N stands for LineN). The window implements this; tests may too.
class EditorTarget
{
public:
    virtual ~EditorTarget() = default;

    virtual bool isChecked(FieldId box) const = 0;
    virtual int selectedIndex(FieldId list) const = 0;   // -1 when none
    virtual void writeCell(Register reg, int bit, const QString &text) = 0;
    // Lit: the path is in use (drawn red); otherwise idle (drawn black).
    virtual void setSegmentLit(int line, bool lit) = 0;
};

} // namespace isd
