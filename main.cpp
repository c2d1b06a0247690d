#include "window/application.h"
#include "window/configwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    isd::setUpApplication(app);
    isd::ConfigWindow window;
    window.show();
    return app.exec();
}
