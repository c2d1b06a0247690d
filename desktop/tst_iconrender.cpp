// The icon renderer that makes the PNG sizes of the program icon at build
// time: the size of each image, the picture filling it, proportions kept on
// a transparent background, the check that refuses a picture that renders
// nothing, the size arguments, and the program's own icon.

#include "desktop/iconrender.h"

#include <QSvgRenderer>
#include <QTest>

namespace {

// A picture of width × height user units, filled to its edges in red.
QByteArray filledPicture(int width, int height)
{
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %2\">"
                          "<rect x=\"0\" y=\"0\" width=\"%1\" height=\"%2\" fill=\"#ff0000\"/></svg>")
        .arg(width).arg(height).toUtf8();
}

bool isRed(QRgb pixel)
{
    return qAlpha(pixel) == 255 && qRed(pixel) == 255 && qGreen(pixel) == 0 && qBlue(pixel) == 0;
}

QRgb pixelAt(const QImage &image, int x, int y)
{
    return image.convertToFormat(QImage::Format_ARGB32).pixel(x, y);
}

} // namespace

class TestIconRender : public QObject
{
    Q_OBJECT

private slots:
    void imageIsSquareAndFilled_data();
    void imageIsSquareAndFilled();
    void proportionsKeptAndCentred_data();
    void proportionsKeptAndCentred();
    void hasInk_data();
    void hasInk();
    void emptyPictureRendersNothing();
    void parseSize_data();
    void parseSize();
    void programIcon_data();
    void programIcon();
};

void TestIconRender::imageIsSquareAndFilled_data()
{
    QTest::addColumn<int>("size");
    for (int size : {1, 16, 24, 32, 48, 64, 128, 256})
        QTest::addRow("%dx%d", size, size) << size;
}

// A square picture 64 units wide covers the whole image at every size: it is
// scaled, neither drawn at its own 64 pixels nor cut.
void TestIconRender::imageIsSquareAndFilled()
{
    QFETCH(int, size);
    QSvgRenderer picture(filledPicture(64, 64));
    QVERIFY(picture.isValid());

    const QImage image = isd::icons::render(picture, size);
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(isRed(pixelAt(image, 0, 0)));
    QVERIFY(isRed(pixelAt(image, size - 1, 0)));
    QVERIFY(isRed(pixelAt(image, 0, size - 1)));
    QVERIFY(isRed(pixelAt(image, size - 1, size - 1)));
    QVERIFY(isRed(pixelAt(image, size / 2, size / 2)));
}

void TestIconRender::proportionsKeptAndCentred_data()
{
    QTest::addColumn<int>("pictureWidth");
    QTest::addColumn<int>("pictureHeight");
    QTest::addColumn<int>("size");
    QTest::addColumn<QRect>("inked");   // where the picture lands in the image

    QTest::newRow("wide 2:1 at 64") << 64 << 32 << 64 << QRect(0, 16, 64, 32);
    QTest::newRow("wide 2:1 at 256") << 64 << 32 << 256 << QRect(0, 64, 256, 128);
    QTest::newRow("tall 1:2 at 64") << 32 << 64 << 64 << QRect(16, 0, 32, 64);
    QTest::newRow("tall 1:4 at 128") << 16 << 64 << 128 << QRect(48, 0, 32, 128);
}

// Inside the inked rectangle every pixel is red; outside it every pixel is
// fully transparent (the background of an icon is never painted).
void TestIconRender::proportionsKeptAndCentred()
{
    QFETCH(int, pictureWidth);
    QFETCH(int, pictureHeight);
    QFETCH(int, size);
    QFETCH(QRect, inked);
    QSvgRenderer picture(filledPicture(pictureWidth, pictureHeight));
    QVERIFY(picture.isValid());

    const QImage image = isd::icons::render(picture, size).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(size, size));
    int wrong = 0;
    QString first;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = image.pixel(x, y);
            const bool ok = inked.contains(x, y) ? isRed(pixel) : qAlpha(pixel) == 0;
            if (!ok && wrong++ == 0)
                first = QStringLiteral("(%1, %2) is #%3").arg(x).arg(y).arg(pixel, 8, 16, QLatin1Char('0'));
        }
    }
    QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1 pixels wrong, first %2").arg(wrong).arg(first)));
}

void TestIconRender::hasInk_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<bool>("ink");

    QImage clear(16, 16, QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    QTest::newRow("all transparent") << clear << false;

    QImage firstPixel = clear;
    firstPixel.setPixel(0, 0, qRgba(0, 0, 0, 255));
    QTest::newRow("first pixel") << firstPixel << true;

    QImage lastPixel = clear;
    lastPixel.setPixel(15, 15, qRgba(1, 1, 1, 1));
    QTest::newRow("last pixel, barely visible") << lastPixel << true;

    QImage lastColumn(7, 5, QImage::Format_ARGB32);
    lastColumn.fill(Qt::transparent);
    lastColumn.setPixel(6, 2, qRgba(255, 255, 255, 255));
    QTest::newRow("odd size, last column") << lastColumn << true;

    QImage transparentWhite(8, 8, QImage::Format_ARGB32);
    transparentWhite.fill(qRgba(255, 255, 255, 0));
    QTest::newRow("colour without alpha") << transparentWhite << false;

    QImage opaque(8, 8, QImage::Format_RGB32);
    opaque.fill(Qt::black);
    QTest::newRow("format without alpha channel") << opaque << true;
}

void TestIconRender::hasInk()
{
    QFETCH(QImage, image);
    QFETCH(bool, ink);
    QCOMPARE(isd::icons::hasInk(image), ink);
}

// A valid picture with nothing in it: the renderer must refuse it.
void TestIconRender::emptyPictureRendersNothing()
{
    QSvgRenderer picture(QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 64 64\"/>"));
    QVERIFY(picture.isValid());
    QVERIFY(!isd::icons::hasInk(isd::icons::render(picture, 48)));
}

void TestIconRender::parseSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");

    QTest::newRow("16") << QStringLiteral("16") << 16;
    QTest::newRow("256") << QStringLiteral("256") << 256;
    QTest::newRow("smallest") << QStringLiteral("1") << 1;
    QTest::newRow("largest") << QStringLiteral("1024") << 1024;
    QTest::newRow("zero") << QStringLiteral("0") << 0;
    QTest::newRow("too large") << QStringLiteral("1025") << 0;
    QTest::newRow("negative") << QStringLiteral("-16") << 0;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("word") << QStringLiteral("large") << 0;
    QTest::newRow("with unit") << QStringLiteral("48px") << 0;
    QTest::newRow("hexadecimal") << QStringLiteral("0x10") << 0;
    QTest::newRow("size pair") << QStringLiteral("48x48") << 0;
}

void TestIconRender::parseSize()
{
    QFETCH(QString, text);
    QFETCH(int, size);
    QCOMPARE(isd::icons::parseSize(text), size);
}

void TestIconRender::programIcon_data()
{
    QTest::addColumn<int>("size");
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        QTest::addRow("%dx%d", size, size) << size;
}

// resources/icon.svg is square, so it fills every size of the theme, and it
// shows something at each of them.
void TestIconRender::programIcon()
{
    QFETCH(int, size);
    QSvgRenderer picture(QStringLiteral(ISD5116_ICON_SVG));
    QVERIFY2(picture.isValid(), ISD5116_ICON_SVG);
    const QRectF box = picture.viewBoxF();
    QVERIFY(!box.isEmpty());
    QCOMPARE(box.width(), box.height());

    const QImage image = isd::icons::render(picture, size);
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(isd::icons::hasInk(image));
}

QTEST_MAIN(TestIconRender)
#include "tst_iconrender.moc"
