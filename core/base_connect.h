#pragma once
#include "core/structure_version.h"
#include <QString>
#include <functional>
#include <optional>

class App;
class BackgroundDatabase;
class QWidget;

// Asks the user for a database password; `opis` names the database (its file name without the
// extension). nullopt when the user cancelled. The program's password dialog is plugged in here.
using PasswordPrompt = std::function<std::optional<QString>(const QString& opis)>;

// Examines a database file before it is used: opens it on its own (asking for the password
// when the file is protected), refuses a file locked by another workstation, a file that is no
// database of this program or one whose structure is damaged (each with one message; a password
// is asked only of a file that can be an encrypted one, and a cancelled question says why
// nothing opens), offers the upgrade of an older structure and reads "BaseReadOnly". It reads a
// bounded number of pages: damage inside the file is found by the whole-file check that runs in
// the background after the connect (BackgroundDatabase).
// `haslo` goes in as the first password to try; on success it holds the password that opened
// the file ("" for a file without one) and `readOnly` whether the file is to be opened
// exclusively. On failure `haslo` is left as it was, so the open connection keeps its own.
bool BaseCheck(App& app, const QString& path, QString& haslo, bool& readOnly, const PasswordPrompt& prompt);

// The one message of a damaged database file `nazwaBazy`: it cannot be used and is to be
// restored from a backup.
void showDamaged(const QString& nazwaBazy);

// The open database `path` was found damaged (by the whole-file check or by a statement): the
// window lets go of it as after a failed open (app.gBazaOtwarta false; the connection, refusing
// everything, is closed when another database is opened), nothing being written to it, and the
// one message shows. Only the message when `path` is not the open database.
void databaseDamaged(App& app, const QString& path);

// The watch of the program's connection (app.gBaseDb), watching it from now on while it is open
// and not found damaged.
BackgroundDatabase& backgroundDatabase(App& app);

// Makes the file the program's database (app.gBaseDb), with app.gBazaHaslo and, when
// app.gBazaWylacznie is set, exclusively, and watches it for damage. The connection open until
// now is closed first.
bool BaseConnect(App& app, const QString& path);
void BaseDisconnect(App& app);

// The program's real password question: the password dialog over the main window.
PasswordPrompt databasePasswordPrompt(App& app);

// The open database's file was changed by something the program cannot keep out (a copy put in
// its place or written over it, another key given to it by another program): said once, then the
// window lets go of it keeping the whole typed document on screen, and connects to the file anew,
// asking for the password when the one in use no longer opens it; the typed document then
// replaces what the new file's buffer of this workstation held. True when connected again; false (cancelled,
// refused) leaves the window without a database, the typed form still on screen. Nothing when
// the open connection is not a changed one.
bool databaseChanged(App& app);

// Takes the program's database to the program alone, so that a step needing the file to itself may
// begin: true when it is, and then the file stays so (and the background reads stopped) until the
// connection lets it go (db::Database::releaseSoleUse) or is closed. A refusal (another
// workstation has the file open, or nobody can tell) is reported under `where`, and the
// background reads go on. True without an open database.
bool soleUse(App& app, const QString& where);

// Checks `file` (trying `haslo` first) and connects to it; the password and the open mode the
// check found become the program's only then. True when connected; the caller decides whether
// the file becomes the remembered database.
bool checkAndConnect(App& app, const QString& file, const PasswordPrompt& prompt, QString haslo);

// Lets the user choose a database file, checks it and connects to it. True only when the new
// database is connected; then app.gPrgPar.BazaPlik and BazaNazwa name it. When the check fails
// the current connection stays; when the connection fails there is none.
bool BaseOpenDialog(App& app, const PasswordPrompt& prompt, QWidget* parent = nullptr);
