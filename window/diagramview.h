#pragma once

#include "window/segmenttable.h"

#include <QFrame>
#include <QImage>
#include <array>
#include <future>

namespace isd {

// The picture box: the block diagram drawn unscaled at its inner top-left
// corner, the 112 segments over it, and the editors' controls as children
// above both. A segment's colour is its only state.
class DiagramView : public QFrame
{
    Q_OBJECT

public:
    explicit DiagramView(QWidget *parent = nullptr);

    void setSegmentColour(int lineNumber, SegmentColour colour);
    SegmentColour segmentColour(int lineNumber) const;
    // The colour the segment is drawn in.
    QColor drawnColour(int lineNumber) const;

    // Where a point of the picture, in picture pixels, lies in this widget.
    QPointF pictureToWidget(QPointF picturePixels) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF segmentBounds(const Segment &s) const;
    void drawThinSegment(QPainter &painter, QLineF line, const QColor &colour) const;
    void drawFocus(QPainter &painter) const;
    const QImage &pictureAt(qreal devicePixelRatio);

    // The picture rendered over the picture box's background, once per
    // device pixel ratio: every repaint of a recoloured segment would
    // otherwise render the whole drawing again. The first rendering is made
    // on another thread while the window is being built.
    QImage m_rendered;
    QColor m_renderedBackground;
    std::future<QImage> m_firstRendering;
    std::array<SegmentColour, kSegmentCount + 1> m_colours{};   // index 0 unused
};

} // namespace isd
