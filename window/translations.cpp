#include "window/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace isd {

namespace {

bool install(QCoreApplication &app, const QString &file, const QString &folder)
{
    auto *translator = new QTranslator(&app);
    if (!translator->load(file, folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace

void installTranslations(QCoreApplication &app)
{
    for (const QString &language : QLocale::system().uiLanguages()) {
        const QLocale locale(language);
        if (locale.language() == QLocale::English)
            return;
        // "isd5116-config_ru_RU" finds isd5116-config_ru.qm too.
        if (install(app, QStringLiteral("isd5116-config_") + locale.name(), QStringLiteral(":/i18n"))) {
            // Qt's own texts (a field's context menu, say) in the same
            // language: from Qt's translations, or where Qt has none (a
            // static Qt, as on Windows) from the program's own resources.
            const QString qt = QStringLiteral("qtbase_") + locale.name();
            if (!install(app, qt, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                install(app, qt, QStringLiteral(":/i18n"));
            return;
        }
    }
}

} // namespace isd
