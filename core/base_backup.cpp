#include "core/base_backup.h"
#include "core/app.h"
#include "core/base_files.h"
#include "core/registry.h"
#include "core/shared_procs.h"
#include "platform/date_text.h"
#include "platform/message_box.h"
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>

namespace {

// The number a text begins with ("7 dni" is 7); 0 when it begins with none.
int leadingNumber(const QString& text)
{
    auto m = QRegularExpression(QStringLiteral("^\\s*(\\d{1,6})")).match(text);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QDate dateOf(const QString& text)
{
    QString t = text.trimmed();
    if (t.isEmpty()) return QDate();
    for (const char* f : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd", "dd.MM.yyyy HH:mm:ss",
                          "dd.MM.yyyy HH:mm", "dd.MM.yyyy", "dd-MM-yyyy HH:mm:ss", "dd-MM-yyyy"}) {
        QDateTime dt = QDateTime::fromString(t, QString::fromLatin1(f));
        if (dt.isValid()) return dt.date();
        QDate d = QDate::fromString(t, QString::fromLatin1(f));
        if (d.isValid()) return d;
    }
    QLocale locale;
    for (auto format : {QLocale::LongFormat, QLocale::ShortFormat}) {
        QDateTime dt = locale.toDateTime(t, format);
        if (dt.isValid()) return dt.date();
    }
    return QDate();
}

void warnCopy(const QString& text)
{
    ui::msgBox(text, ui::Buttons::Ok, ui::Icon::Exclamation, QStringLiteral("Błąd kopiowania bazy bazy"));
}

}  // namespace

QString backupDateText(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString backupDateShown(const QString& written)
{
    const QDateTime when = QDateTime::fromString(written.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return when.isValid() ? dateText(when.date()) + QLatin1Char(' ') + when.time().toString(QStringLiteral("HH:mm:ss"))
                          : written;
}

bool backupDue(const QString& lastText, int days, const QDateTime& now)
{
    QDate last = dateOf(lastText);
    if (!last.isValid()) return true;
    // Due from the days-th midnight after the day of the last copy.
    return QDateTime(last.addDays(days), QTime(0, 0)) < now;
}

bool BazaKopia(App& app, const QString& path, bool force, const BackupSettings& settings, const QDateTime& now)
{
    const QString name = BaseNameFromPath(path);
    bool on = force || settings.read(QStringLiteral("BazaKopia")) == QStringLiteral("1");
    bool confirm = force || settings.read(QStringLiteral("BazaKopiaPotwierdz")) == QStringLiteral("1");
    if (!on) return false;
    const QString last = settings.read(QStringLiteral("BazaKopiaData"));
    const int days = leadingNumber(settings.read(QStringLiteral("BazaKopiaCoDni")));
    if (!force && !backupDue(last, days, now)) return false;

    if (confirm) {
        QString question = QStringLiteral("Wykonana zostanie kopia bazy: ") + name +
                           QStringLiteral(". Ostatni raz kopia została wykonana: ") +
                           (last.isEmpty() ? QStringLiteral("?") : last) + QStringLiteral(". Wykonać kopię teraz?");
        if (ui::msgBox(question, ui::Buttons::YesNo, ui::Icon::Question, QStringLiteral("Archiwizacja bazy"),
                       ui::Answer::No) != ui::Answer::Yes)
            return false;
    }
    QString folder = settings.read(QStringLiteral("BazaKopiaFolder"));
    if (folder.isEmpty()) folder = app.programFolder;
    if (folder.isEmpty()) {
        ui::msgBox(QStringLiteral("Ustaw folder kopiowania. Menu Baza, polecenie Właściwości, zakładka Kopia bazy."),
                   ui::Buttons::Ok, ui::Icon::Exclamation, QStringLiteral("Błąd kopiowania bazy"));
        return false;
    }
    QDir dir(folder);
    const QString temp = dir.filePath(QStringLiteral("Temp Kopia ") + name + QStringLiteral(".mdb"));
    const QString kopia = dir.filePath(QStringLiteral("Kopia ") + name + QStringLiteral(".mdb"));
    const QString dzienna = dir.filePath(QStringLiteral("Kopia ") + name + QStringLiteral(" z dnia ") +
                                         now.date().toString(QStringLiteral("dd-MM-yyyy")) + QStringLiteral(".mdb"));

    // The new copy is made complete under the temporary name; only then does it replace the
    // previous copy, which a failure leaves untouched.
    QDir().mkpath(folder);
    QFile::remove(temp);
    bool ok = true;
    try {
        copyDatabase(app, path, temp);
    } catch (const AppError& e) {
        if (e.number() == err::kDamaged) {
            // The previous copy stays: it is what the file is to be restored from.
            databaseDamaged(app, path);
            return false;
        }
        ok = false;
    }
    if (!ok || !replaceFile(temp, kopia)) {
        QFile::remove(temp);
        warnCopy(QStringLiteral("Kopiowanie bazy: ") + name +
                 QStringLiteral(" nie powiodło się. Błąd kopiowania pliku. Sprawdź czy baza nie jest otwarta przez "
                                "innego użytkownika lub program. Sprawdź ilość wolnego miejsca na dysku."));
        return false;
    }
    if (settings.read(QStringLiteral("BazaKopiaDzien")) == QStringLiteral("1")) {
        QString part = dzienna + QStringLiteral(".part");
        QFile::remove(part);
        if (!QFile::copy(kopia, part) || !replaceFile(part, dzienna)) {
            QFile::remove(part);
            warnCopy(
                QStringLiteral("Kopiowanie pliku dziennego bazy: ") + name +
                QStringLiteral(" nie powiodło się. Błąd kopiowania pliku. Sprawdź ilość wolnego miejsca na dysku."));
            return false;
        }
    }
    settings.save(QStringLiteral("BazaKopiaData"), backupDateText(now));
    if (confirm)
        ui::msgBox(QStringLiteral("Kopia bazy: ") + name +
                       QStringLiteral(" została wykonana poprawnie. Kopia znajduje się w katalogu: ") +
                       QDir::toNativeSeparators(folder),
                   ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("Sukces"));
    return true;
}
