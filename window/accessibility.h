#pragma once

#include <QWidget>

namespace isd {

class Notice;
struct ControlSpec;

// Installs the accessibility factory (once): the window is a frame to
// assistive tools, the diagram an image inside it, and every ValueLabel is
// named with its value and meaning ("AXG1, CFG0 D12: 1", "CFG0 hex 1800")
// and offers its text through the Text interface.
void installAccessibility();

// Gives a control the name a screen reader announces it by, through a hidden
// label that labels it. Qt names an editable list on Linux by its text and
// takes the list's field name from a labelling relation only.
void labelForScreenReaders(QWidget *control, const QString &name);

// Gives a control its name and description for screen readers, from its
// field, register or bit, shown as its tooltip as well; the picture box has
// no tooltip, which would cover the diagram wherever the mouse rests. Cells
// and words are spoken with their values.
void describe(QWidget *control, const ControlSpec &design);

// Says a short text through the screen reader without moving the focus, e.g.
// the new register word after an edit. It is hidden: a status bar holding a
// notification, which Orca speaks when it is shown (Orca 43 without the word
// "notification", since it sits in a status bar; Orca 48 says it first).
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *window);

    void announce(const QString &text);

private:
    Notice *m_notice;
};

} // namespace isd
