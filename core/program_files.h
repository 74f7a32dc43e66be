#pragma once
#include <QString>

class App;

// Files the program reads beside itself come from its folder; files it writes there (the
// error log, generated messages) go there when the folder is writable and otherwise to the
// user's data folder.
QString programFile(const App& app, const QString& name);
QString writableProgramFile(const App& app, const QString& name);
// A file the program writes for the user to take elsewhere (a sent document's PDF or message):
// in the user's data folder, which is made when missing.
QString userDataFile(const QString& name);
