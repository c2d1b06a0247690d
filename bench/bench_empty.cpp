// The baseline: an empty widget of the window's size, in an application set
// up as the program sets it up, under the same probe.
#include "probe.h"
#include "window/application.h"
#include "window/controltable.h"
#include "window/twips.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    isd::setUpApplication(app);
    QWidget window;
    window.setFixedSize(isd::twipsToPixels(isd::kClientWidthTwips), isd::twipsToPixels(isd::kClientHeightTwips));
    isdbench::watch(&window, "empty");
    window.show();
    return app.exec();
}
