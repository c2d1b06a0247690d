#include "window/pictures.h"

#include <QDir>
#include <QPainter>

#include <map>

namespace isd {

namespace {

// The renderings carried in the resources, by their name's number: the
// diagram in percent of its size, the icon in pixels. Made at build time
// from the SVG pictures, at the scales Windows offers and the icon sizes
// desktops ask for. Their names are read without regular expressions (name
// filters are some too): the diagram is loaded on a thread of its own, and
// the stack a regular expression leaves on its thread crashes the thread's
// end in a static MinGW build of Qt 6.4.
std::map<int, QString> renderings(const QString &picture)
{
    const QString prefix = picture + QLatin1Char('-');
    const QString suffix = QStringLiteral(".png");
    std::map<int, QString> found;
    const QDir folder(QStringLiteral(":/rendered"));
    for (const QString &file : folder.entryList(QDir::Files)) {
        if (!file.startsWith(prefix) || !file.endsWith(suffix))
            continue;
        bool isNumber = false;
        const int number = file.mid(prefix.size()).chopped(suffix.size()).toInt(&isNumber);
        if (isNumber)
            found.emplace(number, folder.filePath(file));
    }
    return found;
}

} // namespace

// The rendering made for the ratio as it is; for any other ratio the largest
// one scaled down smoothly, which averages many of its pixels into each of
// the screen's, as a drawing at that ratio would cover them: a rendering
// just larger than the ratio, scaled down, blurs every line.
QImage diagramPicture(qreal devicePixelRatio, const QColor &background)
{
    const std::map<int, QString> rendered = renderings(QStringLiteral("diagram"));
    if (rendered.empty())
        return {};
    const auto exact = rendered.find(qRound(devicePixelRatio * 100));
    QImage picture(exact != rendered.end() ? exact->second : rendered.rbegin()->second);
    const QSize size = (QSizeF(kDiagramSize) * devicePixelRatio).toSize();
    if (picture.size() != size)
        picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    const QImage::Format format = background.alpha() == 255 ? QImage::Format_RGB32
                                                            : QImage::Format_ARGB32_Premultiplied;
    QImage image(size, format);
    image.fill(background);
    QPainter(&image).drawImage(0, 0, picture);
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QIcon programIcon()
{
    QIcon icon;
    for (const auto &[size, file] : renderings(QStringLiteral("icon")))
        icon.addFile(file, QSize(size, size));
    return icon;
}

} // namespace isd
