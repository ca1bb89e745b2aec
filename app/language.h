#pragma once

#include <QLocale>
#include <QString>

/// Puts the program's translation and Qt's own (standard buttons, file dialogs) for the
/// user's language in place: the first of the locale's languages (LANGUAGE, LC_ALL,
/// LC_MESSAGES, LANG as Qt reads them) that has a translation, unless English comes
/// first (English is the program's own). A language without one falls back to English
/// silently. Needs the application object. Returns the language taken ("de"), or an
/// empty text for English.
QString InstallTranslations(const QLocale& locale = QLocale::system());

/// Where the program's translations are: beside the installed program
/// (share/korvane-setup/translations), else in the build tree it was built in.
QString TranslationsFolder();
