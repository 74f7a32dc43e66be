#include "core/start_database.h"
#include "core/app.h"
#include "core/main_frame.h"
#include "core/registry.h"

BackupSettings programBackupSettings(App& app)
{
    return BackupSettings{
        [&app](const QString& name) { return RegRead(app.gRegProgramKey, name, QString()); },
        [&app](const QString& name, const QString& value) { RegSave(app.gRegProgramKey, name, value); }};
}

bool openStartDatabase(App& app, const PasswordPrompt& prompt)
{
    const QString path = app.gPrgPar.BazaPlik;
    if (path.isEmpty()) return false;
    return checkAndConnect(app, path, prompt, app.gBazaHaslo);
}

void offerPeriodicBackup(App& app, const BackupSettings& settings)
{
    if (app.gBazaOtwarta) BazaKopia(app, app.gPrgPar.BazaPlik, false, settings);
}
