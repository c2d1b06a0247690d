#include "window/dialogfont.h"

#include <QFontDatabase>
#include <QStringList>

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

QFont linkFont()
{
    QFont font = dialogFont();
    font.setPixelSize(13);   // 9.75 points
    font.setBold(true);
    font.setUnderline(true);
    return font;
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
