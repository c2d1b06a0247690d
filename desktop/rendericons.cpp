// Renders the program icon (an SVG picture) into square PNG files for the
// desktop's icon theme:
//
//     isd5116-iconrender ICON.svg OUTDIR NAME SIZE...
//
// writes OUTDIR/SIZExSIZE/NAME.png for every SIZE. A picture that is not
// valid, or that renders nothing at some size, is an error. Runs at build
// time, so it needs no display: it uses the offscreen platform unless
// QT_QPA_PLATFORM says otherwise.

#include "desktop/iconrender.h"

#include <QDir>
#include <QGuiApplication>
#include <QSvgRenderer>
#include <QTextStream>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "isd5116-iconrender: " << message << '\n';
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments().mid(1);
    if (args.size() < 4)
        return fail(QStringLiteral("usage: isd5116-iconrender ICON.svg OUTDIR NAME SIZE..."));

    const QString svgPath = args.at(0);
    const QDir outDir(args.at(1));
    const QString name = args.at(2);

    QSvgRenderer picture(svgPath);
    if (!picture.isValid())
        return fail(QStringLiteral("%1: not a valid SVG picture").arg(svgPath));

    for (const QString &sizeText : args.mid(3)) {
        const int size = isd::icons::parseSize(sizeText);
        if (size == 0)
            return fail(QStringLiteral("%1: not an icon size (%2 to %3)")
                            .arg(sizeText).arg(isd::icons::kMinSize).arg(isd::icons::kMaxSize));

        const QImage image = isd::icons::render(picture, size);
        if (!isd::icons::hasInk(image))
            return fail(QStringLiteral("%1: renders nothing at %2x%2").arg(svgPath).arg(size));

        const QString subDir = QStringLiteral("%1x%1").arg(size);
        if (!outDir.mkpath(subDir))
            return fail(QStringLiteral("cannot make %1").arg(outDir.filePath(subDir)));
        const QString pngPath = outDir.filePath(subDir + QLatin1Char('/') + name + QStringLiteral(".png"));
        if (!image.save(pngPath, "PNG"))
            return fail(QStringLiteral("cannot write %1").arg(pngPath));
    }
    return 0;
}
