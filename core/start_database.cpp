#include "core/start_database.h"
#include "core/app.h"
#include "core/database_startup.h"
#include "core/dlg_baza_haslo.h"
#include "core/main_frame.h"
#include "core/registry.h"

PasswordPrompt DatabasePasswordPrompt(App& app)
{
    return [&app](const QString& opis) {
        return AskDatabasePassword(app.mainFrame ? app.mainFrame->frameWidget() : nullptr, opis);
    };
}

BackupSettings ProgramBackupSettings(App& app)
{
    return BackupSettings{
        [&app](const QString& name) { return RegRead(app.gRegProgramKey, name, QString()); },
        [&app](const QString& name, const QString& value) { RegSave(app.gRegProgramKey, name, value); }};
}

bool OpenStartDatabase(App& app)
{
    return StartDatabaseOpen(app, DatabasePasswordPrompt(app));
}

void OfferPeriodicBackup(App& app)
{
    StartBackupOffer(app, ProgramBackupSettings(app));
}
