#pragma once
#include <QDateTime>
#include <QString>
#include <functional>

class App;

// Where the backup keeps its settings (the user's settings, values outside the settings
// cache): `read` gives a value and stores "" for a missing one, `save` writes one at once.
struct BackupSettings {
    std::function<QString(const QString& name)> read;
    std::function<void(const QString& name, const QString& value)> save;
};

// The periodic backup of the database file `path`, offered at start (force false) and made on
// demand (force true: on and confirmed, whatever the settings). The copy is a consistent
// snapshot written under the temporary name and put in place of "Kopia <name>.mdb" only when
// complete and whole, so a failed copy, or one of a damaged file, leaves the previous one
// intact (a damaged file is let go, databaseDamaged). True when a copy was made.
bool BazaKopia(App& app, const QString& path, bool force, const BackupSettings& settings,
               const QDateTime& now = QDateTime::currentDateTime());

// Whether a backup is due: the day of the last one (stored text) plus `days` lies before
// `now`; a text that holds no date makes it due.
bool backupDue(const QString& lastText, int days, const QDateTime& now);

// How the date of the last backup is written.
QString backupDateText(const QDateTime& when);
// The written date of the last backup as the window shows it, in the Polish general form
// ("10.12.2026 10:38:49"); a text written otherwise is shown as it stands.
QString backupDateShown(const QString& written);
