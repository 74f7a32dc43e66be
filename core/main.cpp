#include "core/app.h"
#include "core/error_report_dialog.h"
#include "core/polish_language.h"
#include "core/start_up.h"
#include "editor/main_window.h"
#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brenik Software"));
    QApplication::setApplicationName(QStringLiteral("Rolkwit"));
    QApplication::setApplicationVersion(QStringLiteral(ROLKWIT_VERSION));
    const PolishLanguage polish;

    App::setDefaultErrorReporter(errorReportDialog);
    App app;
    app.programFolder = QCoreApplication::applicationDirPath();
    auto window = Main(app, [](App& a) { return std::make_unique<MainWindow>(a); });
    if (!window) return 0;  // another copy runs and was brought to the front
    return qapp.exec();
}
