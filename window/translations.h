#pragma once

class QCoreApplication;

namespace isd {

// Loads the program's own translation and Qt's (qtbase) for the first of the
// user's languages that the program speaks; English, the language of its
// sources, when that comes first or none matches. A missing translation is
// never an error: the texts then stay English.
void installTranslations(QCoreApplication &app);

} // namespace isd
