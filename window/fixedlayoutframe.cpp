#include "window/fixedlayoutframe.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>

namespace isd {

FixedLayoutFrame::FixedLayoutFrame(QSize surfaceSize, QWidget *parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    // The controls take the focus, never the frame around them.
    setFocusPolicy(Qt::NoFocus);
    auto *surface = new QWidget;
    surface->setFixedSize(surfaceSize);
    setWidget(surface);
    // The window paints the background under the layout, as a plain window
    // does, and so gets the first paint (the start-up benchmark waits for
    // it); the surface and the viewport over it are see-through.
    surface->setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
}

void FixedLayoutFrame::setVisible(bool visible)
{
    if (visible && !m_placed) {
        m_placed = true;
        if (QScreen *users = QGuiApplication::screenAt(QCursor::pos()))
            setScreen(users);
        // Placed before the window exists, so that it is made on that
        // screen; placed again once it exists, where the platform then knows
        // the window's frame.
        placeOnScreen();
        create();
        placeOnScreen();
    }
    QScrollArea::setVisible(visible);
}

void FixedLayoutFrame::placeOnScreen()
{
    fitScreen();
    const QRect room = screen()->availableGeometry();
    const QSize frame = frameSize();
    move(room.topLeft() + QPoint(qMax(0, (room.width() - frame.width()) / 2),
                                 qMax(0, (room.height() - frame.height()) / 2)));
}

bool FixedLayoutFrame::event(QEvent *event)
{
    // On another screen, or at another scale, Qt on X11 keeps the window's
    // device pixels: at twice the scale it would show a quarter of the
    // layout, with size limits that forbid enlarging it. Qt reports that
    // size after this event, so the fitting comes after it.
    if (event->type() == QEvent::ScreenChangeInternal && m_placed)
        QMetaObject::invokeMethod(this, &FixedLayoutFrame::fitScreen, Qt::QueuedConnection);
    // The desktop's answer to a window that scrolls, before the window is
    // on screen, is the room it really has (on Wayland only the compositor
    // knows its panels). The window keeps that size, so that no desktop
    // maximizes it as it maps it (GNOME maximizes a resizable window that
    // covers most of the screen) past the layout, with an empty band beside
    // it. Where the window is on screen first (Qt 6.4), the desktop has
    // placed it already and it stays resizable within its limits.
    if (event->type() == QEvent::Resize && event->spontaneous() && m_awaitingDesktopSize) {
        m_awaitingDesktopSize = false;
        if (!windowHandle()->isExposed()) {
            const QSize kept = showScrollBarsFor(size());
            setSizeLimits(kept, kept);
            resize(kept);   // the limits may stand unchanged, and then resize nothing
        }
    }
    return QScrollArea::event(event);
}

void FixedLayoutFrame::fitScreen()
{
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize largest = showScrollBarsFor(screen()->availableGeometry().size().shrunkBy(frame));
    const bool fits = largest == surface()->size();
    m_awaitingDesktopSize = !fits;
    setSizeLimits(fits ? largest : QSize(0, 0), largest);
    resize(largest);
}

QSize FixedLayoutFrame::showScrollBarsFor(QSize room)
{
    const QSize layout = surface()->size();
    // A scroll bar takes room from the other direction too.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    bool vertical = layout.height() > room.height();
    const bool horizontal = layout.width() + (vertical ? bar : 0) > room.width();
    vertical = vertical || layout.height() + (horizontal ? bar : 0) > room.height();
    // The scroll bars this fit needs, and no others: left to the scroll area,
    // a change of scale can leave one shown with nothing to scroll.
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    return QSize(qMin(room.width(), layout.width() + (vertical ? bar : 0)),
                 qMin(room.height(), layout.height() + (horizontal ? bar : 0)));
}

void FixedLayoutFrame::setSizeLimits(QSize minimum, QSize maximum)
{
    // Limits set again unchanged do not reach the window system, which
    // keeps them in the device pixels of the old scale: after a change of
    // scale they go first.
    const qreal scale = screen()->devicePixelRatio();
    if (scale != m_limitsScale && windowHandle()) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    m_limitsScale = scale;
    setMinimumSize(minimum);
    setMaximumSize(maximum);
}

} // namespace isd
