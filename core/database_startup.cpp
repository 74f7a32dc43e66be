#include "core/database_startup.h"
#include "core/app.h"

bool StartDatabaseOpen(App& app, const PasswordPrompt& prompt)
{
    const QString path = app.gPrgPar.BazaPlik;
    if (path.isEmpty()) return false;
    QString haslo = app.gBazaHaslo;
    bool readOnly = false;
    if (!BaseCheck(app, path, haslo, readOnly, prompt)) return false;
    app.gBazaHaslo = haslo;
    app.gBazaWylacznie = readOnly;
    app.gBazaOtwarta = BaseConnect(app, path);
    return app.gBazaOtwarta;
}

void StartBackupOffer(App& app, const BackupSettings& settings)
{
    if (app.gBazaOtwarta) BazaKopia(app, app.gPrgPar.BazaPlik, false, settings);
}
