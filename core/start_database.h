#pragma once
#include "core/base_backup.h"
#include "core/base_connect.h"

class App;

// The database steps of start-up, and what the database commands of the menus share with them.

// The backup settings kept under the program key.
BackupSettings programBackupSettings(App& app);

// When app.gPrgPar.BazaPlik names a file: checks it (asking for its password through `prompt`)
// and connects to it. True when a database is connected; otherwise the caller switches the
// database commands off.
bool openStartDatabase(App& app, const PasswordPrompt& prompt);

// Start-up's last step: offers the periodic backup of the connected database.
void offerPeriodicBackup(App& app, const BackupSettings& settings);
