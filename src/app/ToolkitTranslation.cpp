#include "ToolkitTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

QString ToolkitTranslation::catalogFor(char language) {
    switch (language) {
    case 'p':
        return QStringLiteral("qtbase_pt_BR");
    case 'e':
        return QStringLiteral("qtbase_es");
    default:
        return {};
    }
}

bool ToolkitTranslation::apply(char language) {
    QCoreApplication::removeTranslator(&translator_);
    const QString catalog = catalogFor(language);
    if (catalog.isEmpty())
        return true;
    if (!translator_.load(catalog, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator_);
}
