#pragma once

// The window is laid out in twips, 1/1440 inch, drawn for 15 twips per
// logical pixel. This is the one place where twips become pixels; Qt's
// device pixel ratio takes it on from there on high-DPI screens.

#include <QPointF>
#include <QRect>
#include <QtMath>

namespace isd {

constexpr int kTwipsPerPixel = 15;

// Positions and sizes of controls: whole logical pixels, rounded once.
inline int twipsToPixels(int twips)
{
    return qRound(double(twips) / kTwipsPerPixel);
}

inline QRect twipsToPixels(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// End points of diagram segments keep their fractions: several fall between
// pixels, and they must lie on the picture's own lines.
inline QPointF twipsToPixelsF(int x, int y)
{
    return {double(x) / kTwipsPerPixel, double(y) / kTwipsPerPixel};
}

} // namespace isd
