#pragma once
#include "core/base_backup.h"
#include "core/base_connect.h"

class App;

// Start-up's use of the database: checks and connects the file named by BazaPlik, filling
// gBazaHaslo, gBazaWylacznie, gBaseDb and gBazaOtwarta; true when it is open.
bool OpenStartDatabase(App& app);
// The periodic backup offered once the start-up database is open.
void OfferPeriodicBackup(App& app);

// The program's real password question (the password dialog over the main window) and the
// backup settings kept under the program key, for the database commands of the menus.
PasswordPrompt DatabasePasswordPrompt(App& app);
BackupSettings ProgramBackupSettings(App& app);
