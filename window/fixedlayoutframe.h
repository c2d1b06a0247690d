#pragma once

#include <QScrollArea>

namespace isd {

// A top-level window around a surface of fixed size whose children lie at
// fixed positions. Where the screen's free area holds the surface, the
// window is exactly the surface's size and cannot be resized. Where it does
// not, the window takes the largest size that fits, with scroll bars to
// reach the rest, and keeps the size the desktop gives it before showing
// it; the wheel and the arrow keys scroll it, and the focus scrolls into
// view. It opens on the screen under the mouse pointer, centred and fully
// visible, and fits itself again whenever it lands on another screen or its
// screen's scale changes.
class FixedLayoutFrame : public QScrollArea
{
    Q_OBJECT

public:
    explicit FixedLayoutFrame(QSize surfaceSize, QWidget *parent = nullptr);

    // Where the children go; its origin is the layout's origin. A child of
    // the frame itself would stay put while the layout scrolls.
    QWidget *surface() const { return widget(); }

    void setVisible(bool visible) override;

protected:
    bool event(QEvent *event) override;

private:
    void placeOnScreen();
    void fitScreen();
    // Shows the scroll bars a window of at most `room` needs; returns the
    // window's size: the room, or less where the layout and its bars need less.
    QSize showScrollBarsFor(QSize room);
    void setSizeLimits(QSize minimum, QSize maximum);

    bool m_placed = false;
    bool m_awaitingDesktopSize = false;
    qreal m_limitsScale = 0;   // the scale of the screen the limits were set for
};

} // namespace isd
