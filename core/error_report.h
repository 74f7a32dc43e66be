#pragma once
#include <QString>
#include <functional>

class App;

// The one error reporter: called inside a catch block, it hands the error being handled, with
// the place it happened and an extra text, to the reporter the program installed
// (App::errorReporter); without one the error is written to the log. Silent while the open
// database is damaged: that is told once, by databaseDamaged.
void ErrorReport(App& app, const QString& where, const QString& extra = QString());

// Runs a command given from a menu, a toolbar or a key: an error it throws is reported under
// `where` and the program goes on, so that nothing escapes into the window's event loop.
void runCommand(App& app, const QString& where, const std::function<void()>& command);
