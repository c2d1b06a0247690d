#pragma once

#include <QPalette>

namespace isd {

// The palette the window sets on itself under a desktop's colour scheme.
// The diagram is drawn for paper: black wires and dark red text on a light
// button face, with the editors' pure red and black segments over them, all
// of which vanish on a dark face. So in a dark scheme the window takes a
// light palette of its own, and the whole window, not the picture box
// alone: the picture fills most of it, and the link's blue, the header rows
// and the controls on the diagram are made for the same light face. In a
// light scheme it follows the scheme (an empty palette, nothing set).
QPalette paperPalette(const QPalette &scheme);

} // namespace isd
