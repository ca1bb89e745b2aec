#include "language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

QString TranslationsFolder()
{
    const QString installed = QCoreApplication::applicationDirPath() +
                              QStringLiteral("/../share/korvane-setup/translations");
    if (QFileInfo(installed).isDir())
        return QDir::cleanPath(installed);
    return QStringLiteral(KORVANE_BUILD_TRANSLATIONS);
}

QString InstallTranslations(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return {};
    for (const QString& name : locale.uiLanguages()) {
        const QString language = name.section(QLatin1Char('-'), 0, 0).toLower();
        if (language == QLatin1String("en") || language == QLatin1String("c"))
            return {}; // the program's own words
        auto* own = new QTranslator(QCoreApplication::instance());
        if (!own->load(QStringLiteral("korvane-setup_") + language, TranslationsFolder())) {
            delete own;
            continue;
        }
        QCoreApplication::installTranslator(own);
        auto* qt = new QTranslator(QCoreApplication::instance());
        if (qt->load(QStringLiteral("qtbase_") + language,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qt);
        else
            delete qt;
        return language;
    }
    return {};
}
