#pragma once

#include "window/valuelabel.h"

#include <QWidget>

namespace isd {

class Notice;
struct ControlSpec;

// Installs the accessibility factory (once): the window is a frame to
// assistive tools, the diagram an image inside it, and every ValueLabel is
// named with its value and meaning ("AXG1, CFG0 D12: 1", "CFG0 hex 1800")
// and offers its text through the Text interface.
void installAccessibility();

// What a screen reader says of a control, from its field, register or bit:
// the name it announces the control by, and the description it reads on
// request. The link has neither: its text names it.
struct ScreenReaderTexts {
    QString name;
    QString description;
};
ScreenReaderTexts screenReaderTexts(const ControlSpec &design);

// How a screen reader speaks a cell or a word: with its meaning and the text
// it shows, "AXG1, CFG0 D12: 1", "CFG0 hex 1800".
ValueLabel::Speech spokenValue(const ControlSpec &design);

// Says a short text through the screen reader without moving the focus, e.g.
// the new register word after an edit. Where Qt has announcements (Qt 6.8
// on) they carry it: a UI Automation notification on Windows, which Narrator
// and NVDA speak, and an AT-SPI announcement on Linux, which Orca 48 speaks.
// Before that, a hidden status bar holding a notification says it: Orca
// speaks the notification when it is shown (Orca 43 without the word
// "notification", since it sits in a status bar).
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *window);

    void announce(const QString &text);

private:
    Notice *m_notice = nullptr;
};

} // namespace isd
