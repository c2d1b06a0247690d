#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QSize>

namespace isd {

// The block diagram's size in logical pixels, as the picture box shows it.
constexpr QSize kDiagramSize(960, 552);

// The block diagram for a screen's device pixel ratio, laid over a
// background colour (transparent keeps the picture's own alpha). Where Qt
// SVG is at hand it is drawn from the SVG at the exact ratio; elsewhere from
// the renderings made at build time, picked for the ratio.
QImage diagramPicture(qreal devicePixelRatio, const QColor &background);

// The program's icon at every size the desktop asks for.
QIcon programIcon();

} // namespace isd
