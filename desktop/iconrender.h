#pragma once

// Rendering of the program icon into the square images of the desktop's
// icon theme.

#include <QImage>
#include <QString>

class QSvgRenderer;

namespace isd::icons {

// The smallest and largest size the icon is rendered at, in pixels.
constexpr int kMinSize = 1;
constexpr int kMaxSize = 1024;

// The picture in a size × size image on a transparent background. A picture
// that is not square keeps its proportions and is centred.
QImage render(QSvgRenderer &picture, int size);

// True when at least one pixel is not fully transparent.
bool hasInk(const QImage &image);

// The size that text names ("48"), or 0 when it names none between kMinSize
// and kMaxSize.
int parseSize(const QString &text);

} // namespace isd::icons
