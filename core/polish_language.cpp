#include "core/polish_language.h"
#include <QCoreApplication>
#include <QLibraryInfo>

// Outside any namespace, as the resource's own initialiser is.
static void loadProgramCatalogue()
{
    Q_INIT_RESOURCE(translations);
}

PolishLanguage::PolishLanguage()
{
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    QLocale::setDefault(polish);
    installed_ = qt_.load(polish, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                 QCoreApplication::installTranslator(&qt_);
    // Installed after Qt's, so that it is looked in first: it holds only what Qt's lacks.
    loadProgramCatalogue();
    own_ =
        program_.load(QStringLiteral(":/translations/rolkwit_pl.qm")) && QCoreApplication::installTranslator(&program_);
}

PolishLanguage::~PolishLanguage()
{
    if (own_) QCoreApplication::removeTranslator(&program_);
    if (installed_) QCoreApplication::removeTranslator(&qt_);
    QLocale::setDefault(previous_);
}
