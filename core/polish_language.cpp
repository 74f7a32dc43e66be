#include "core/polish_language.h"
#include <QCoreApplication>
#include <QLibraryInfo>

PolishLanguage::PolishLanguage()
{
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    QLocale::setDefault(polish);
    installed_ = qt_.load(polish, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                 QCoreApplication::installTranslator(&qt_);
}

PolishLanguage::~PolishLanguage()
{
    if (installed_) QCoreApplication::removeTranslator(&qt_);
    QLocale::setDefault(previous_);
}
