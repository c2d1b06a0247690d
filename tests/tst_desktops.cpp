// The window on the desktops its users have: a dark colour scheme, another
// application style, screens at scales 1 to 2, a laptop smaller than the
// window, a move to a screen of another scale, and (run again by CTest
// under a font configuration without them) no fonts with Arial's metrics.
#include "windowtest.h"

#include "window/twips.h"

#include <QAbstractScrollArea>
#include <QProxyStyle>
#include <QScrollBar>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>
#include <qpa/qwindowsysteminterface.h>

#include <cmath>

using namespace isd;
using namespace testing;

namespace {

const QColor kRed(255, 0, 0);

// Tells two colours apart at a glance, by their grey values.
bool standsOut(const QColor &a, const QColor &b)
{
    return std::abs(qGray(a.rgb()) - qGray(b.rgb())) >= 64;
}

QScreen *screenNamed(const QString &name)
{
    for (QScreen *s : QGuiApplication::screens()) {
        if (s->name() == name)
            return s;
    }
    qFatal("no screen %s: run with the screen layout tests/offscreen/desktops.json", qPrintable(name));
}

// Where a point of the picture box lies among the window's pixels, grabbed
// at its screen's scale.
QPoint onShot(const QImage &shot, const ConfigWindow &w, QPointF inPictureBox)
{
    const QPointF p = w.diagram()->mapTo(&w, inPictureBox) * shot.devicePixelRatio();
    return {int(std::floor(p.x())), int(std::floor(p.y()))};
}

// The pixels across a segment at a fraction of its length, `reach` device
// pixels either side of its line.
QList<QColor> across(const QImage &shot, const ConfigWindow &w, int line, double at, int reach)
{
    const Segment &s = segment(line);
    const QLineF l(twipsToPixelsF(s.x1, s.y1), twipsToPixelsF(s.x2, s.y2));
    const QPoint p = onShot(shot, w, w.diagram()->pictureToWidget(l.pointAt(at)));
    const QPoint step = std::abs(l.dx()) >= std::abs(l.dy()) ? QPoint(0, 1) : QPoint(1, 0);
    QList<QColor> pixels;
    for (int k = -reach; k <= reach; ++k)
        pixels << shot.pixelColor(p + k * step);
    return pixels;
}

// What keeps the window from fitting its screen's free area with the whole
// layout in what it shows plus what it scrolls to: an empty band beside the
// layout, a scroll bar with nothing to scroll. Empty when nothing does.
[[nodiscard]] QString outOfReach(const ConfigWindow &w)
{
    const QSize layout(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    const QSize room = w.screen()->availableGeometry().size();
    if (w.width() > room.width() || w.height() > room.height())
        return QStringLiteral("larger than the screen's free area");
    QSize reach = w.size();
    if (auto *frame = qobject_cast<const QAbstractScrollArea *>(&w)) {
        reach = frame->viewport()->size()
            + QSize(frame->horizontalScrollBar()->maximum(), frame->verticalScrollBar()->maximum());
        for (const QScrollBar *bar : {frame->horizontalScrollBar(), frame->verticalScrollBar()}) {
            if (bar->isVisible() && bar->maximum() <= 0)
                return QStringLiteral("a scroll bar with nothing to scroll");
        }
    }
    return reach == layout ? QString() : QStringLiteral("reaches %1x%2").arg(reach.width()).arg(reach.height());
}

} // namespace

class TestDesktops : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void darkSchemeKeepsTheDiagramLegible_data();
    void darkSchemeKeepsTheDiagramLegible();
    void controlsPaintInTheApplicationStyle();
    void checkBoxSquaresShowWhole_data();
    void checkBoxSquaresShowWhole();
    void thinSegmentsCoverWholePixels_data();
    void thinSegmentsCoverWholePixels();
    void pictureBoxShowsTheFocus();
    void opensOnTheUsersScreen_data();
    void opensOnTheUsersScreen();
    void wheelPicksOnlyInTheFocusedList_data();
    void wheelPicksOnlyInTheFocusedList();
    void keepsTheSizeTheDesktopGives_data();
    void keepsTheSizeTheDesktopGives();
    void keepsItsSizeOnAnotherScreen_data();
    void keepsItsSizeOnAnotherScreen();
    void dialogFontKeepsTheLayout();
};

void TestDesktops::cleanup()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(QApplication::style()->standardPalette());
}

void TestDesktops::darkSchemeKeepsTheDiagramLegible_data()
{
    QTest::addColumn<bool>("whileOpen");
    QTest::newRow("dark scheme when the window opens") << false;
    QTest::newRow("scheme turns dark while it is open") << true;
}

void TestDesktops::darkSchemeKeepsTheDiagramLegible()
{
    QFETCH(bool, whileOpen);
    const QPalette dark(QColor(50, 50, 50));   // light text on a dark face, as a desktop hands it
    if (!whileOpen)
        QApplication::setPalette(dark);
    auto w = openWindow(screenNamed("desktop"));
    QVERIFY(w);
    if (whileOpen) {
        QApplication::setPalette(dark);
        QCoreApplication::processEvents();
    }
    const QImage shot = w->grab().toImage();
    const QColor paper = shot.pixelColor(onShot(shot, *w, w->diagram()->contentsRect().bottomRight() - QPoint(8, 8)));
    // Every segment shows the exact colour an editor writes, on its own pixels.
    for (const Segment &s : segments()) {
        const QColor colour = w->diagram()->drawnColour(s.number);
        QVERIFY2((colour == kRed || colour == Qt::black) && standsOut(colour, paper),
                 qPrintable(segmentName(s.number) + colour.name() + paper.name()));
        bool shown = false;
        for (double at = 0.1; at < 1.0 && !shown; at += 0.1)
            shown = across(shot, *w, s.number, at, 2).contains(colour);
        QVERIFY2(shown, qPrintable(segmentName(s.number)));
    }
    // The picture's own wires (XCLK), and the link.
    QVERIFY(standsOut(shot.pixelColor(onShot(shot, *w, w->diagram()->pictureToWidget({200, 286}))), paper));
    const QPalette link = w->findChild<QLabel *>(expectedWindow("link"))->palette();
    QVERIFY(standsOut(link.color(QPalette::WindowText), link.color(QPalette::Window)));
}

void TestDesktops::controlsPaintInTheApplicationStyle()
{
    QApplication::setStyle(QStringLiteral("Windows"));
    auto w = openWindow(screenNamed("desktop"));
    QVERIFY(w);
    QList<QWidget *> controls;
    for (PickList *l : w->findChildren<PickList *>())
        controls << l;
    for (QCheckBox *b : w->findChildren<QCheckBox *>())
        controls << b;
    QCOMPARE(controls.size(), int(expectedFields().size()));
    for (QWidget *c : controls) {
        const auto *proxy = qobject_cast<const QProxyStyle *>(c->style());
        const QStyle *painter = proxy ? proxy->baseStyle() : c->style();
        QVERIFY2(painter->name() == QLatin1String("windows"), qPrintable(c->objectName() + painter->name()));
    }
}

void TestDesktops::checkBoxSquaresShowWhole_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("box");
    for (const char *screen : {"desktop", "scale125", "scale150", "scale200"}) {
        for (const char *box : {"AGPD", "AXPD", "FLS0"})   // the boxes 13 pixels high
            QTest::addRow("%s %s", box, screen) << screen << box;
    }
}

// The square's top and bottom edges lie within the box: neither its first
// nor its last row of device pixels shows the square's white inside.
void TestDesktops::checkBoxSquaresShowWhole()
{
    QFETCH(QString, screen);
    QFETCH(QString, box);
    auto w = openWindow(screenNamed(screen));
    QVERIFY(w);
    const QImage shot = w->grab().toImage();
    const qreal scale = shot.devicePixelRatio();
    const QRectF r(testing::box(*w, box)->mapTo(w.get(), QPoint()), testing::box(*w, box)->size());
    const int left = int(std::ceil(r.left() * scale));
    for (int y : {int(std::ceil(r.top() * scale)), int(std::floor(r.bottom() * scale)) - 1}) {
        for (int x = left + 2; x < left + int(r.height() * scale) - 2; ++x)
            QVERIFY2(qGray(shot.pixel(x, y)) < 250, qPrintable(QStringLiteral("white at %1, %2").arg(x).arg(y)));
    }
}

void TestDesktops::thinSegmentsCoverWholePixels_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<int>("devicePixels");   // one logical pixel, whole
    QTest::newRow("scale 1") << "desktop" << 1;
    QTest::newRow("scale 1.25") << "scale125" << 1;
    QTest::newRow("scale 1.5") << "scale150" << 2;
    QTest::newRow("scale 2") << "scale200" << 2;
}

// One run of pure red as wide as a logical pixel, no red half tone beside it.
void TestDesktops::thinSegmentsCoverWholePixels()
{
    QFETCH(QString, screen);
    QFETCH(int, devicePixels);
    auto w = openWindow(screenNamed(screen));
    QVERIFY(w);
    for (int line : expectedThinSegments())
        w->diagram()->setSegmentColour(line, SegmentColour::Highlight);
    const QImage shot = w->grab().toImage();
    for (int line : expectedThinSegments()) {
        const QList<QColor> pixels = across(shot, *w, line, 0.3, 4);
        const qsizetype first = pixels.indexOf(kRed);
        const qsizetype end = first + devicePixels;
        QVERIFY2(first > 0 && pixels.count(kRed) == devicePixels && pixels.value(end - 1) == kRed,
                 qPrintable(segmentName(line)));
        for (const QColor &side : {pixels[first - 1], pixels.value(end)})
            QVERIFY2(side.red() < side.green() + 40, qPrintable(segmentName(line) + side.name()));
    }
}

// The picture box has the focus when the window opens and again when Tab
// comes round: a ring just inside its frame shows it, and goes with it.
void TestDesktops::pictureBoxShowsTheFocus()
{
    auto w = openWindow(screenNamed("desktop"));
    QVERIFY(w);
    const QRect inner = w->diagram()->contentsRect();
    auto ring = [&] {
        const QImage shot = w->grab().toImage();
        QList<QColor> pixels;
        for (int k = 8; k < inner.height() - 8; k += 16) {
            for (QPoint p : {QPoint(inner.left() + k, inner.top()), QPoint(inner.left() + k, inner.bottom()),
                             QPoint(inner.left(), inner.top() + k), QPoint(inner.right(), inner.top() + k)})
                pixels << shot.pixelColor(onShot(shot, *w, p));
        }
        return pixels;
    };
    const QList<QColor> focused = ring();
    QTest::keyClick(w->diagram(), Qt::Key_Tab);
    const QList<QColor> unfocused = ring();
    for (int i = 0; i < focused.size(); ++i)
        QVERIFY2(standsOut(focused[i], unfocused[i]), qPrintable(focused[i].name() + unfocused[i].name()));
    QVERIFY(tabTo(w->diagram()));
    QCOMPARE(ring(), focused);
}

void TestDesktops::opensOnTheUsersScreen_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("desktop 1920x1200, 100 %") << "desktop" << false;
    QTest::newRow("desktop 3840x2400, 200 %") << "scale200" << false;
    QTest::newRow("laptop 1920x1080, 150 %") << "laptop150" << true;
}

void TestDesktops::opensOnTheUsersScreen()
{
    QFETCH(QString, screen);
    QFETCH(bool, scrolls);
    auto w = openWindow(screenNamed(screen));
    QVERIFY(w);
    QCOMPARE(w->screen(), screenNamed(screen));
    QVERIFY(w->screen()->availableGeometry().contains(w->frameGeometry()));
    QCOMPARE(outOfReach(*w), QString());
    // Where the layout fits, the window is the layout's size, fixed.
    QCOMPARE(w->minimumSize() == w->maximumSize(), !scrolls);
    // Tabbing to the last list brings it into view.
    PickList *last = list(*w, expectedTabOrder().last());
    QVERIFY(tabTo(last));
    QVERIFY(w->rect().contains(QRect(last->mapTo(w.get(), QPoint()), last->size())));
}

void TestDesktops::wheelPicksOnlyInTheFocusedList_data()
{
    QTest::addColumn<bool>("focused");
    QTest::addColumn<QList<int>>("turns");
    QTest::addColumn<int>("index");   // after the turns, from none selected
    QTest::newRow("no focus, one notch: the window scrolls") << false << QList<int>{-120} << -1;
    QTest::newRow("focus, one notch") << true << QList<int>{-120} << 0;
    QTest::newRow("focus, one eighth of a notch") << true << QList<int>{-15} << -1;
    QTest::newRow("focus, eight eighths") << true << QList<int>(8, -15) << 0;
    QTest::newRow("focus, two notches at once") << true << QList<int>{-240} << 1;
}

// On the laptop, where the window scrolls; the wheel turns as the system
// delivers it, over a list's field.
void TestDesktops::wheelPicksOnlyInTheFocusedList()
{
    QFETCH(bool, focused);
    QFETCH(QList<int>, turns);
    QFETCH(int, index);
    auto w = openWindow(screenNamed("laptop150"));
    QVERIFY(w);
    auto *frame = qobject_cast<QAbstractScrollArea *>(w.get());
    QVERIFY(frame);
    PickList *l = list(*w, "OPS");
    if (focused)
        l->setFocus();
    for (int angle : turns)
        turnWheel(l->lineEdit(), angle);
    QCOMPARE(l->currentIndex(), index);
    QCOMPARE(frame->verticalScrollBar()->value() > 0, !focused);
}

void TestDesktops::keepsTheSizeTheDesktopGives_data()
{
    QTest::addColumn<bool>("beforeShown");
    QTest::addColumn<QList<QSize>>("answers");   // the desktop's sizes, less the one asked for
    QTest::newRow("shorter: a panel the platform did not report") << true << QList<QSize>{{0, -40}};
    QTest::newRow("wider: maximized on the desktop's own initiative") << true << QList<QSize>{{250, 0}};
    // Qt 6.4 on GNOME: the window is on screen before the desktop answers,
    // first within limits that leave out the window's decoration.
    QTest::newRow("once shown: narrower, then as asked") << false << QList<QSize>{{-6, 0}, {0, 0}};
}

// On the laptop the window scrolls and is resizable until the desktop first
// answers its size. An answer before the window is shown is the room the
// desktop gives it: the window keeps it, up to what the layout and its
// scroll bars need, so that no desktop maximizes it past them.
void TestDesktops::keepsTheSizeTheDesktopGives()
{
    QFETCH(bool, beforeShown);
    QFETCH(QList<QSize>, answers);
    QCursor::setPos(screenNamed("laptop150")->geometry().center());
    ConfigWindow w;
    w.show();
    QCoreApplication::sendPostedEvents();   // the fit to the screen the window opens on
    if (!beforeShown)
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QSize asked = w.size();
    const QPoint at = w.windowHandle()->handle()->geometry().topLeft();
    for (const QSize &change : answers) {
        // Delivered at once, ahead of the window's showing still queued.
        QWindowSystemInterface::handleGeometryChange<QWindowSystemInterface::SynchronousDelivery>(
            w.windowHandle(), QRect(at, (asked + change) * w.devicePixelRatioF()));
    }
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.size(), (asked + answers.last()).boundedTo(asked));
    QCOMPARE(outOfReach(w), QString());
    QCOMPARE(w.minimumSize() == w.maximumSize(), beforeShown);
}

void TestDesktops::keepsItsSizeOnAnotherScreen_data()
{
    QTest::addColumn<QString>("screen");
    QTest::newRow("to a screen at 200 % and back") << "scale200";
    QTest::newRow("to a smaller laptop screen at 150 % and back") << "laptop150";
}

// The move as the X11 platform reports it when the window manager drags the
// window onto another monitor: the window keeps its device pixels, now at a
// place on the other monitor, and then it is told of its new screen.
void TestDesktops::keepsItsSizeOnAnotherScreen()
{
    QFETCH(QString, screen);
    auto w = openWindow(screenNamed("desktop"));
    QVERIFY(w);
    const QSize before = w->size();
    for (QScreen *to : {screenNamed(screen), screenNamed("desktop")}) {
        const QRect native = w->windowHandle()->handle()->geometry();
        const QPoint onTo = to->handle()->geometry().topLeft() + QPoint(40, 40);
        QWindowSystemInterface::handleGeometryChange(w->windowHandle(), QRect(onTo, native.size()));
        QWindowSystemInterface::handleWindowScreenChanged(w->windowHandle(), to);
        QWindowSystemInterface::flushWindowSystemEvents();
        QTRY_COMPARE(w->devicePixelRatioF(), to->devicePixelRatio());
        QCoreApplication::processEvents();
        QCOMPARE(outOfReach(*w), QString());
    }
    QCOMPARE(w->size(), before);
}

// Every header word stands over its bit's cell ("HEX" and "D15-D0" over the
// word), nearer to it than to any other, within its label; every list item
// fits its field.
void TestDesktops::dialogFontKeepsTheLayout()
{
    auto w = openWindow(screenNamed("desktop"));
    QVERIFY(w);
    for (Register reg : kRegisters) {
        const QLabel *header = w->findChild<QLabel *>(expectedHeader(registerName(reg)));
        QList<int> centres;   // of the cells D15 to D0, then of the word
        for (int bit = kBitsPerRegister - 1; bit >= 0; --bit)
            centres << w->findChild<QWidget *>(cellControl(reg, bit).name)->geometry().center().x();
        centres << w->findChild<QWidget *>(wordControl(reg).name)->geometry().center().x();
        const QFontMetricsF metrics(header->font());
        const QStringList lines = header->text().split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts).mid(line == lines[0] ? 1 : 0);
            qsizetype from = 0;
            for (int i = 0; i < words.size(); ++i) {
                from = line.indexOf(words[i], from);
                const double left = header->x() + metrics.horizontalAdvance(line.left(from));
                const double right = left + metrics.horizontalAdvance(words[i]);
                from += words[i].size();
                auto distance = [&](int c) { return std::abs(c - (left + right) / 2); };
                const auto nearest = std::min_element(centres.begin(), centres.end(),
                                                      [&](int a, int b) { return distance(a) < distance(b); });
                QVERIFY2(nearest - centres.begin() == i && right <= header->geometry().right() + 1,
                         qPrintable(words[i] + QStringLiteral(" stands over column %1").arg(nearest - centres.begin())));
            }
        }
    }
    for (PickList *l : w->findChildren<PickList *>()) {
        for (int i = 0; i < l->count(); ++i) {
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->itemText(i)) <= l->lineEdit()->width() - 4,
                     qPrintable(l->objectName() + QLatin1Char(' ') + l->itemText(i)));
        }
    }
}

ISD5116_WINDOW_TEST_MAIN(TestDesktops)
#include "tst_desktops.moc"
