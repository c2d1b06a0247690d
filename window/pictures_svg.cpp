#include "window/pictures.h"

#include <QPainter>
#include <QSvgRenderer>

namespace isd {

// Drawn at the screen's own resolution, so that the diagram stays crisp at
// every device pixel ratio. In 32 bits a pixel, the raster engine's own
// format: a 16-bit image costs less memory but twice the time to render and
// to draw.
QImage diagramPicture(qreal devicePixelRatio, const QColor &background)
{
    const QImage::Format format = background.alpha() == 255 ? QImage::Format_RGB32
                                                            : QImage::Format_ARGB32_Premultiplied;
    QImage image((QSizeF(kDiagramSize) * devicePixelRatio).toSize(), format);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(background);
    QSvgRenderer picture(QStringLiteral(":/diagram.svg"));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    picture.render(&painter, QRectF(QPointF(0, 0), kDiagramSize));
    return image;
}

// Rendered from the SVG at whatever size the desktop asks for.
QIcon programIcon()
{
    return QIcon(QStringLiteral(":/icon.svg"));
}

} // namespace isd
