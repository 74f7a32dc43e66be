#pragma once

class App;

// Start-up's use of the database: checks and connects the file named by BazaPlik, filling
// gBazaHaslo, gBazaWylacznie, gBaseDb and gBazaOtwarta; true when it is open.
bool OpenStartDatabase(App& app);
// The periodic backup offered once the start-up database is open.
void OfferPeriodicBackup(App& app);
