// The diagram picture and the segment table must agree: every segment lies on
// a black line of the picture, so a black segment looks like the bare picture
// and a red one covers its wire. The picture is rendered once at its own size
// (one picture pixel per image pixel) and each segment is walked along it.

#include "window/segmenttable.h"
#include "expectedtable.h"

#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
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
    void iconLoadsAsSquare();

private:
    QImage m_picture;
};

void TstDiagramPicture::initTestCase()
{
    QSvgRenderer renderer(QStringLiteral(":/diagram.svg"));
    QVERIFY2(renderer.isValid(), "the diagram picture does not load");
    QCOMPARE(renderer.defaultSize(), QSize(kPictureWidth, kPictureHeight));
    QCOMPARE(renderer.viewBoxF(), QRectF(0, 0, kPictureWidth, kPictureHeight));

    m_picture = QImage(kPictureWidth, kPictureHeight, QImage::Format_ARGB32);
    m_picture.fill(Qt::transparent);
    QPainter painter(&m_picture);
    renderer.render(&painter, QRectF(0, 0, kPictureWidth, kPictureHeight));
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

// The window's icon comes from the same resources; a broken file would only
// show as a missing icon.
void TstDiagramPicture::iconLoadsAsSquare()
{
    QSvgRenderer renderer(QStringLiteral(":/icon.svg"));
    QVERIFY2(renderer.isValid(), "the window icon does not load");
    QCOMPARE(renderer.viewBoxF(), QRectF(0, 0, 64, 64));
}

QTEST_MAIN(TstDiagramPicture)

#include "tst_diagram_picture.moc"
