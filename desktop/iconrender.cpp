#include "desktop/iconrender.h"

#include <QPainter>
#include <QSvgRenderer>

namespace isd::icons {

QImage render(QSvgRenderer &picture, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    picture.setAspectRatioMode(Qt::KeepAspectRatio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    picture.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return image;
}

bool hasInk(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) != 0)
                return true;
        }
    }
    return false;
}

int parseSize(const QString &text)
{
    bool ok = false;
    const int size = text.toInt(&ok, 10);
    return ok && size >= kMinSize && size <= kMaxSize ? size : 0;
}

} // namespace isd::icons
