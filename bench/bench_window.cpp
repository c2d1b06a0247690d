// The program's window, set up as the program sets it up, under the probe.
#include "probe.h"
#include "window/application.h"
#include "window/configwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    isd::setUpApplication(app);
    isd::ConfigWindow window;
    isdbench::watch(&window, "window");
    window.show();
    return app.exec();
}
