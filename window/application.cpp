#include "window/application.h"

#include "window/accessibility.h"
#include "window/dialogfont.h"
#include "window/translations.h"

#include <QApplication>
#include <QStyleFactory>

namespace isd {

void setUpApplication(QApplication &app)
{
    // Tells Wayland desktops which menu entry the window belongs to.
    QGuiApplication::setDesktopFileName(QStringLiteral(ISD5116_APP_ID));
    // One look on every desktop: the layout's sizes are made for it.
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    provideDialogFont();
    installTranslations(app);
    installAccessibility();
}

} // namespace isd
