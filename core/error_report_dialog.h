#pragma once
#include <QString>

class App;

// The program's reporter: shows the error dialog for the error being handled and logs it when
// asked to. Installed at start with App::setDefaultErrorReporter.
void errorReportDialog(App& app, const QString& where, const QString& extra = QString());
