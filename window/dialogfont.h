#pragma once

#include <QFont>

class QWidget;

namespace isd {

// The layout is made for an 8-point dialog font at 96 dots per inch: 11
// pixels high, with Arial's widths so that the header words stand above
// their cells and the lists' items fit their fields.
QFont dialogFont();
// The link text: 9.75 points, bold and underlined, in blue.
void styleAsLink(QWidget *link);

// Makes those widths available wherever the program runs: when no font with
// Arial's metrics is installed, registers the Liberation Sans that the
// program carries. Called once, before the window is built.
void provideDialogFont();

} // namespace isd
