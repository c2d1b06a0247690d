#pragma once

class QApplication;

namespace isd {

// Sets the application up as the program runs it: the style the layout is
// made for, the widths of the font it is made for, the desktop entry its
// window belongs to, the translations for the user's language, and what
// assistive tools are told of the window's controls. Called
// before the window is built, by the program and by the benchmark alike.
void setUpApplication(QApplication &app);

} // namespace isd
