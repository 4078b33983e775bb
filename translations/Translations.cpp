#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void installTranslations(QCoreApplication& app)
{
    auto* qt = new QTranslator(&app);
    if (qt->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qt);
    auto* own = new QTranslator(&app);
    const QString folder = QStringLiteral(":/translations");
    // English is the language of the keys; its file only rewords a few of them,
    // so it also serves the C locale.
    if (own->load(QLocale(), QStringLiteral("edgemarks"), QStringLiteral("_"), folder) ||
        own->load(QStringLiteral("edgemarks_en"), folder))
        app.installTranslator(own);
}
