#pragma once

#include <QString>

namespace isd {

// The colours a diagram segment can show. Default is the window-text colour a
// segment has until its editor first runs; editors write only Idle (black)
// and Highlight (pure red).
enum class SegmentColour { Default, Idle, Highlight };

// What an editor may touch in the window: it reads its own control, writes
// bit cells and recolours segments. The window implements this; tests may too.
class EditorTarget
{
public:
    virtual ~EditorTarget() = default;

    virtual bool isChecked(const QString &checkBox) const = 0;
    virtual int selectedIndex(const QString &list) const = 0;   // -1 when none
    virtual void writeCell(int labelNumber, const QString &text) = 0;
    virtual void setSegmentColour(int lineNumber, SegmentColour colour) = 0;
};

} // namespace isd
