#pragma once
#include "core/base_backup.h"
#include "core/base_connect.h"

class App;

// Start-up's database step: when app.gPrgPar.BazaPlik names a file, checks it (asking for its
// password through `prompt`) and connects to it. True when a database is connected; otherwise
// the caller switches the database commands off.
bool StartDatabaseOpen(App& app, const PasswordPrompt& prompt);

// Start-up's last step: offers the periodic backup of the connected database.
void StartBackupOffer(App& app, const BackupSettings& settings);
