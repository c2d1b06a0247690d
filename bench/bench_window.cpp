// The program's window, set up as the program sets it up, under the probe.
#include "probe.h"
#include "window/configwindow.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    isd::ConfigWindow window;
    isdbench::watch(&window, "window");
    window.show();
    return app.exec();
}
