#include "core/database_startup.h"
#include "core/app.h"

bool StartDatabaseOpen(App& app, const PasswordPrompt& prompt)
{
    const QString path = app.gPrgPar.BazaPlik;
    if (path.isEmpty()) return false;
    return CheckAndConnect(app, path, prompt, app.gBazaHaslo);
}

void StartBackupOffer(App& app, const BackupSettings& settings)
{
    if (app.gBazaOtwarta) BazaKopia(app, app.gPrgPar.BazaPlik, false, settings);
}
