#pragma once
#include "core/base_connect.h"
#include <QString>

class App;
class QWidget;

// Copies the database file `path` to `destination` as a complete, consistent database (a
// snapshot even while other workstations write, read in short pieces so that their saves are
// never held for long; through the program's connection when that holds the file exclusively),
// with app.gBazaHaslo. The window keeps painting meanwhile. The copy appears under `destination`
// only when it is complete and every page of it is whole; an existing file there is replaced.
// Throws AppError (err::kDamaged for a damaged file).
void copyDatabase(App& app, const QString& path, const QString& destination);

// Saves the database under a new name in its folder and makes that file the program's database
// (app.gPrgPar.BazaPlik); the old file stays. Refuses a name with "/" or "\" and a name that an
// existing file already has, and a damaged file (databaseDamaged). The caller connects to the
// new file.
bool BaseRename(App& app, const QString& path, const QString& oldName, const QString& newName);

// Creates a new database from the template beside the program under a name the user chooses,
// checks it and connects to it. True only when the new database is connected. The caller
// detaches the main window before (its database is closed here) and attaches it after.
bool BaseCreate(App& app, const PasswordPrompt& prompt, QWidget* parent = nullptr);

// Lets the user choose a folder, starting at `path`. Gives the chosen folder (and puts it into
// `path`), or `path` unchanged when the user cancels.
QString FolderBrowse(QWidget* owner, const QString& title, QString& path);

// One file copied or moved; a missing target folder is created and an existing target is not
// replaced (the file goes to a free name beside it). 0 on success, else a non-zero code.
int FileCopySH(const QString& from, const QString& to);
int FileMoveSH(const QString& from, const QString& to);

// Puts `from` in place of `to` in one step (an existing `to` is replaced). False on failure,
// with `to` as it was.
bool replaceFile(const QString& from, const QString& to);
