#include "window/diagramview.h"

#include "window/pictures.h"
#include "window/twips.h"

#include <QPainter>

namespace isd {

DiagramView::DiagramView(QWidget *parent)
    : QFrame(parent)
    , m_renderedBackground(palette().color(QPalette::Button))
    , m_firstRendering(std::async(std::launch::async, diagramPicture, devicePixelRatioF(),
                                  m_renderedBackground))
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    for (const Segment &s : segments())
        m_colours[size_t(s.number)] = s.initial;
}

void DiagramView::setSegmentColour(int lineNumber, SegmentColour colour)
{
    SegmentColour &current = m_colours.at(size_t(lineNumber));
    if (current == colour)
        return;
    current = colour;
    update(segmentBounds(segment(lineNumber)).toAlignedRect());
}

SegmentColour DiagramView::segmentColour(int lineNumber) const
{
    return m_colours.at(size_t(lineNumber));
}

QColor DiagramView::drawnColour(int lineNumber) const
{
    switch (segmentColour(lineNumber)) {
    case SegmentColour::Highlight:
        return QColor(255, 0, 0);
    case SegmentColour::Idle:
        return QColor(0, 0, 0);
    case SegmentColour::Default:
        break;
    }
    return palette().color(QPalette::WindowText);
}

QPointF DiagramView::pictureToWidget(QPointF picturePixels) const
{
    return picturePixels + contentsRect().topLeft();
}

QRectF DiagramView::segmentBounds(const Segment &s) const
{
    const QRectF line(pictureToWidget(twipsToPixelsF(s.x1, s.y1)),
                      pictureToWidget(twipsToPixelsF(s.x2, s.y2)));
    const double margin = s.width + 1.0;
    return line.normalized().adjusted(-margin, -margin, margin, margin);
}

const QImage &DiagramView::pictureAt(qreal devicePixelRatio)
{
    if (m_firstRendering.valid())
        m_rendered = m_firstRendering.get();
    const QColor background = palette().color(QPalette::Button);
    if (!qFuzzyCompare(m_rendered.devicePixelRatio(), devicePixelRatio)
        || m_renderedBackground != background) {
        m_rendered = diagramPicture(devicePixelRatio, background);
        m_renderedBackground = background;
    }
    return m_rendered;
}

void DiagramView::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);

    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawImage(pictureToWidget({0, 0}), pictureAt(devicePixelRatioF()));

    for (const Segment &s : segments()) {
        const QLineF line(pictureToWidget(twipsToPixelsF(s.x1, s.y1)),
                          pictureToWidget(twipsToPixelsF(s.x2, s.y2)));
        if (s.width == 1 && (line.dx() == 0 || line.dy() == 0)) {
            drawThinSegment(painter, line, drawnColour(s.number));
            continue;
        }
        painter.setPen(QPen(drawnColour(s.number), s.width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(line);
    }

    if (hasFocus())
        drawFocus(painter);
}

// A 1-pixel pen centred on a pixel edge, as an antialiased pen is wherever a
// segment's end points fall, paints two pixels in half tones and none in the
// segment's colour. A 1-pixel segment covers whole device pixels instead,
// as many as one logical pixel takes at the screen's scale (at least one),
// where its line runs; a 2-pixel pen always covers some pixels whole.
void DiagramView::drawThinSegment(QPainter &painter, QLineF line, const QColor &colour) const
{
    const QTransform toDevice = painter.deviceTransform();
    const QRectF logical = QRectF(line.p1(), line.p2()).normalized().adjusted(-0.5, -0.5, 0.5, 0.5);
    const QRectF device = toDevice.mapRect(logical);
    const int left = qRound(device.left());
    const int top = qRound(device.top());
    const QRect pixels(left, top, qMax(1, qRound(device.right()) - left),
                       qMax(1, qRound(device.bottom()) - top));
    // Inset a little, so that rounding on the way back cannot add a pixel.
    const QRectF inside = QRectF(pixels).adjusted(0.25, 0.25, -0.25, -0.25);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(toDevice.inverted().mapRect(inside), colour);
    painter.restore();
}

// A focus rectangle just inside the frame, in the colour the style marks
// focused controls with (the lists' and boxes' outlines turn to it), one
// pixel wide over the picture's blank margin. The style's own focus
// rectangle may be a faint tint, lost over a drawing this size. It shows
// whichever way the focus came: the picture box has it when the window
// opens.
void DiagramView::drawFocus(QPainter &painter) const
{
    const QRect inner = contentsRect();
    painter.save();
    painter.setClipRegion(QRegion(inner) - QRegion(inner.adjusted(1, 1, -1, -1)));
    painter.fillRect(inner, palette().color(QPalette::Highlight));
    painter.restore();
}

} // namespace isd
