#include "window/configwindow.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(ISD5116_APP_ID));
    // One look on every desktop: the layout's sizes are made for it.
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    isd::ConfigWindow window;
    window.show();
    return app.exec();
}
