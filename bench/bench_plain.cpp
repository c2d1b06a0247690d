// The reference: the same window built the plain way, from stock Qt widgets
// with nothing of its own. The same 57 controls with the same texts, items,
// sizes and positions, taken from the control table so that it cannot drift
// from the real window; the diagram is one pixmap in a label, rendered once on
// the main thread; no segments, no editors, no accessibility, no tooltips.
// The application is set up as the program sets it up, under the same probe.
#include "probe.h"
#include "window/application.h"
#include "window/controltable.h"
#include "window/dialogfont.h"
#include "window/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>

namespace {

QRect geometryOf(const isd::ControlSpec &c)
{
    return isd::twipsToPixels(c.left, c.top, c.width, c.height);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    isd::setUpApplication(app);

    QWidget window;
    window.setFont(isd::dialogFont());   // the window's fonts, or this compares two font set-ups
    window.setFixedSize(isd::twipsToPixels(isd::kClientWidthTwips), isd::twipsToPixels(isd::kClientHeightTwips));

    // The picture box first, with the diagram as one pixmap at its inner
    // top-left corner: the controls inside it are created after the pixmap's
    // label and so lie above it.
    QFrame *picture = nullptr;
    for (const isd::ControlSpec &c : isd::controlTable()) {
        if (c.kind != isd::ControlKind::Picture)
            continue;
        picture = new QFrame(&window);
        picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        picture->setLineWidth(2);
        picture->setGeometry(geometryOf(c));

        QSvgRenderer svg(QStringLiteral(":/diagram.svg"));
        QPixmap pixmap(svg.defaultSize());
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        svg.render(&painter);
        painter.end();

        auto *diagram = new QLabel(picture);
        diagram->setPixmap(pixmap);
        diagram->setGeometry(QRect(picture->contentsRect().topLeft(), pixmap.size()));
    }
    if (!picture)
        qFatal("bench-plain: the control table has no picture box");
    const QPoint inner = picture->contentsRect().topLeft();

    for (const isd::ControlSpec &c : isd::controlTable()) {
        QWidget *parent = c.container == isd::Container::Picture ? picture : &window;
        QWidget *widget = nullptr;
        switch (c.kind) {
        case isd::ControlKind::Picture:
            continue;
        case isd::ControlKind::Header:
        case isd::ControlKind::Cell:
        case isd::ControlKind::Word:
            widget = new QLabel(c.text, parent);
            break;
        case isd::ControlKind::Link:
            widget = new QLabel(c.text, parent);
            isd::styleAsLink(widget);
            break;
        case isd::ControlKind::CheckBox: {
            auto *box = new QCheckBox(parent);
            box->setChecked(c.checked);
            widget = box;
            break;
        }
        case isd::ControlKind::List: {
            auto *list = new QComboBox(parent);
            list->setEditable(true);
            list->addItems(c.items);
            widget = list;
            break;
        }
        }
        QRect geometry = geometryOf(c);
        if (c.container == isd::Container::Picture)
            geometry.translate(inner);
        widget->setGeometry(geometry);
    }
    // As in the real window, the picture box lies over the labels where they
    // meet it.
    picture->raise();

    isdbench::watch(&window, "plain");
    window.show();
    return app.exec();
}
