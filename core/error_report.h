#pragma once
#include <QString>

class App;

// The one error reporter: called inside a catch block, it shows the error dialog for the error
// being handled, with the place it happened and an extra text, and logs it when asked to.
void ErrorReport(App& app, const QString& where, const QString& extra = QString());
