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
    if (own->load(QLocale(), QStringLiteral("edgemarks"), QStringLiteral("_"), QStringLiteral(":/translations")))
        app.installTranslator(own);
}
