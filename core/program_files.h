#pragma once
#include <QString>

class App;

// Files the program reads beside itself come from its folder; files it writes there (the
// error log, generated messages) go there when the folder is writable and otherwise to the
// user's data folder.
QString ProgramFile(const App& app, const QString& name);
QString WritableProgramFile(const App& app, const QString& name);
