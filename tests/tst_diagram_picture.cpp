// The diagram picture and the segment table must agree: every segment lies on
// a black line of the picture, so a black segment looks like the bare picture
// and a red one covers its wire. The picture is taken once at its own size
// (one picture pixel per image pixel), as the program draws it, and each
// segment is walked along it.

#include "window/pictures.h"
#include "window/segmenttable.h"
#include "expectedtable.h"

#include <QImage>
#include <QLineF>
#include <QSet>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>
#include <map>
#include <stdexcept>

using namespace isd;

namespace {

constexpr int kPictureWidth = 960;
constexpr int kPictureHeight = 552;
constexpr double kTwipsPerPixel = 15.0;

// A 1-px line that straddles two pixel rows covers each by half, so a line
// pixel is one at least ~40 % covered; it must also be black, not the dark
// red of the text.
constexpr int kMinLineAlpha = 100;
constexpr int kMaxLineChannel = 64;

bool isLinePixel(QRgb pixel)
{
    return qAlpha(pixel) >= kMinLineAlpha && qRed(pixel) <= kMaxLineChannel
        && qGreen(pixel) <= kMaxLineChannel && qBlue(pixel) <= kMaxLineChannel;
}

QPointF endPoint(int xTwips, int yTwips)
{
    return {xTwips / kTwipsPerPixel, yTwips / kTwipsPerPixel};
}

} // namespace

class TstDiagramPicture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void tableHoldsEverySegmentInOrder();
    void tableColoursAndWidths();
    void lookupRejectsBadNumbers_data();
    void lookupRejectsBadNumbers();

    void segmentLiesOnPictureLine_data();
    void segmentLiesOnPictureLine();
    void pictureUsesOnlyBlackAndDarkRed();
    void pictureIsCrispAtEveryScale_data();
    void pictureIsCrispAtEveryScale();
    void svgDrawsAtTheLayoutsSize_data();
    void svgDrawsAtTheLayoutsSize();
    void iconDrawsAtEverySize();

private:
    QImage m_picture;
};

void TstDiagramPicture::initTestCase()
{
    m_picture = diagramPicture(1.0, Qt::transparent).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(m_picture.size(), QSize(kPictureWidth, kPictureHeight));
}

void TstDiagramPicture::tableHoldsEverySegmentInOrder()
{
    const std::vector<Segment> &all = segments();
    QCOMPARE(int(all.size()), testing::expectedSegmentCount());

    QSet<QString> names;
    QSet<QString> geometries;
    for (int n = 1; n <= kSegmentCount; ++n) {
        const Segment &s = all[size_t(n - 1)];
        QCOMPARE(s.number, n);
        QCOMPARE(&segment(n), &s);
        QCOMPARE(segmentName(n), QStringLiteral("Line%1").arg(n));
        names.insert(segmentName(n));
        // Two rows with the same end points would be one wire copied twice.
        geometries.insert(QStringLiteral("%1,%2,%3,%4").arg(s.x1).arg(s.y1).arg(s.x2).arg(s.y2));
    }
    QCOMPARE(names.size(), kSegmentCount);
    QCOMPARE(geometries.size(), kSegmentCount);
}

void TstDiagramPicture::tableColoursAndWidths()
{
    std::map<SegmentColour, int> initial;
    QList<int> thin;
    for (const Segment &s : segments()) {
        ++initial[s.initial];
        QVERIFY2(s.width == 1 || s.width == 2, qPrintable(segmentName(s.number)));
        if (s.width == 1)
            thin.append(s.number);
    }
    QCOMPARE(initial[SegmentColour::Highlight], 69);
    QCOMPARE(initial[SegmentColour::Idle], 11);
    QCOMPARE(initial[SegmentColour::Default], 32);
    QCOMPARE(thin, testing::expectedThinSegments());
}

void TstDiagramPicture::lookupRejectsBadNumbers_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -1;
    QTest::newRow("one past the last") << kSegmentCount + 1;
    QTest::newRow("far out") << 1000;
}

void TstDiagramPicture::lookupRejectsBadNumbers()
{
    QFETCH(int, number);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, segment(number));
}

void TstDiagramPicture::segmentLiesOnPictureLine_data()
{
    QTest::addColumn<int>("number");
    for (const Segment &s : segments())
        QTest::newRow(qPrintable(segmentName(s.number))) << s.number;
}

// Walks the segment one pixel at a time, leaving out ~1.5 px at each end where
// it may run into a block or a neighbouring wire, and asks for a black line
// pixel at every step: the pixel under the point or one of its two neighbours
// across the segment.
void TstDiagramPicture::segmentLiesOnPictureLine()
{
    QFETCH(int, number);
    const Segment &s = segment(number);
    const QLineF line(endPoint(s.x1, s.y1), endPoint(s.x2, s.y2));
    const double length = line.length();
    QVERIFY2(length > 4.0, "segment too short to follow");

    const bool mostlyHorizontal = std::abs(line.dx()) >= std::abs(line.dy());
    const int acrossX = mostlyHorizontal ? 0 : 1;
    const int acrossY = mostlyHorizontal ? 1 : 0;

    const double margin = 1.5;
    QList<double> steps;
    for (double d = margin; d < length - margin; d += 1.0)
        steps.append(d);
    steps.append(length - margin);

    QStringList misses;
    for (double d : steps) {
        const QPointF p = line.pointAt(d / length);
        const int px = int(std::floor(p.x()));
        const int py = int(std::floor(p.y()));
        bool onLine = false;
        for (int k = -1; k <= 1 && !onLine; ++k) {
            const int x = px + k * acrossX;
            const int y = py + k * acrossY;
            onLine = m_picture.valid(x, y) && isLinePixel(m_picture.pixel(x, y));
        }
        if (!onLine)
            misses.append(QStringLiteral("(%1, %2)").arg(p.x(), 0, 'f', 1).arg(p.y(), 0, 'f', 1));
    }
    QVERIFY2(misses.isEmpty(),
             qPrintable(QStringLiteral("%1 leaves the picture's lines at %2 of %3 points: %4")
                            .arg(segmentName(number))
                            .arg(misses.size())
                            .arg(steps.size())
                            .arg(misses.join(QStringLiteral(" ")))));
}

// Black and dark red (128, 0, 0) over a transparent background: any blend of
// them, antialiased or not, has no green or blue and at most half red.
void TstDiagramPicture::pictureUsesOnlyBlackAndDarkRed()
{
    int transparent = 0;
    int black = 0;
    int darkRed = 0;
    QStringList strays;
    for (int y = 0; y < m_picture.height(); ++y) {
        for (int x = 0; x < m_picture.width(); ++x) {
            const QRgb pixel = m_picture.pixel(x, y);
            const int alpha = qAlpha(pixel);
            if (alpha == 0) {
                ++transparent;
                continue;
            }
            // Unpremultiplying a faint pixel magnifies rounding; judge the
            // red channel only where the pixel carries some weight.
            const bool stray = qGreen(pixel) > 2 || qBlue(pixel) > 2
                || (alpha >= 64 && qRed(pixel) > 136);
            if (stray && strays.size() < 10)
                strays.append(QStringLiteral("(%1, %2) #%3").arg(x).arg(y).arg(pixel, 8, 16, QLatin1Char('0')));
            if (alpha >= 128 && qRed(pixel) <= 16)
                ++black;
            else if (alpha >= 128 && qRed(pixel) >= 112 && qRed(pixel) <= 136)
                ++darkRed;
        }
    }
    QVERIFY2(strays.isEmpty(), qPrintable(QStringLiteral("colours other than black and dark red at ")
                                          + strays.join(QStringLiteral(", "))));
    // The background stays transparent, and both ink colours are really used.
    QVERIFY2(transparent > m_picture.width() * m_picture.height() * 8 / 10,
             qPrintable(QStringLiteral("only %1 transparent pixels").arg(transparent)));
    QVERIFY2(black > 5000, qPrintable(QStringLiteral("only %1 black pixels").arg(black)));
    QVERIFY2(darkRed > 1000, qPrintable(QStringLiteral("only %1 dark red pixels").arg(darkRed)));
}

void TstDiagramPicture::pictureIsCrispAtEveryScale_data()
{
    QTest::addColumn<qreal>("scale");
    // The scales Windows offers, and some between them that a screen may have.
    for (qreal scale : {1.0, 1.1, 1.15, 1.25, 1.5, 1.75, 2.0, 2.25, 2.5, 3.0})
        QTest::addRow("%g", scale) << scale;
}

// The picture is made for the screen's own pixels, and its lines stay sharp:
// of the pixels the ink touches, about a fifth or more are covered whole
// where the picture is drawn for those pixels, under a tenth where a
// picture made for other pixels is scaled to them.
void TstDiagramPicture::pictureIsCrispAtEveryScale()
{
    QFETCH(qreal, scale);
    const QImage picture = diagramPicture(scale, Qt::white);
    QCOMPARE(picture.devicePixelRatio(), scale);
    QCOMPARE(picture.size(), (QSizeF(kPictureWidth, kPictureHeight) * scale).toSize());

    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    int ink = 0;
    int whole = 0;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *line = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            ink += line[x] < 224;
            whole += line[x] < 48;
        }
    }
    QVERIFY2(whole >= 0.15 * ink, qPrintable(QStringLiteral("%1 of %2 ink pixels covered whole").arg(whole).arg(ink)));
}

void TstDiagramPicture::svgDrawsAtTheLayoutsSize_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::newRow("diagram") << QStringLiteral(":/testdata/diagram.svg") << QSize(kPictureWidth, kPictureHeight);
    QTest::newRow("icon") << QStringLiteral(":/testdata/icon.svg") << QSize(64, 64);
}

// The pictures are drawn in the layout's pixels: a picture's own size and
// its coordinates are those pixels, whatever draws it.
void TstDiagramPicture::svgDrawsAtTheLayoutsSize()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFile svg(file);
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name(), QLatin1String("svg"));
    const QXmlStreamAttributes a = xml.attributes();
    QCOMPARE(a.value(QLatin1String("width")).toInt(), size.width());
    QCOMPARE(a.value(QLatin1String("height")).toInt(), size.height());
    QCOMPARE(a.value(QLatin1String("viewBox")).toString(),
             QStringLiteral("0 0 %1 %2").arg(size.width()).arg(size.height()));
}

// A broken icon would only show as a missing one: it must draw, square and
// not blank, at the sizes title bars, task bars and menus ask for.
void TstDiagramPicture::iconDrawsAtEverySize()
{
    const QIcon icon = programIcon();
    for (int size : {16, 24, 32, 48, 256}) {
        const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY2(image.pixelColor(size / 2, size / 2).alpha() > 0, qPrintable(QString::number(size)));
    }
}

QTEST_MAIN(TstDiagramPicture)

#include "tst_diagram_picture.moc"
