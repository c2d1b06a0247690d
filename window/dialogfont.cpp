#include "window/dialogfont.h"

#include <QFontDatabase>
#include <QStringList>
#include <QWidget>

namespace isd {

namespace {

// Fonts with Arial's metrics, the one the program carries first.
const QStringList &metricFamilies()
{
    static const QStringList families{QStringLiteral("Liberation Sans"), QStringLiteral("Arial")};
    return families;
}

} // namespace

QFont dialogFont()
{
    QFont font;
    font.setFamilies(metricFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void styleAsLink(QWidget *link)
{
    QFont font = dialogFont();
    font.setPixelSize(13);   // 9.75 points
    font.setBold(true);
    font.setUnderline(true);
    link->setFont(font);
    QPalette blue = link->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    link->setPalette(blue);
}

void provideDialogFont()
{
    for (const QString &family : metricFamilies()) {
        if (QFontDatabase::hasFamily(family))
            return;
    }
    // Only the weights the window uses; each costs memory once registered.
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Regular.ttf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Bold.ttf"));
}

} // namespace isd
