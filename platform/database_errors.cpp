#include "platform/database_errors.h"
#include "platform/app_error.h"
#include <sqlcipher/sqlite3.h>

namespace db {

const QString kDamagedText = QStringLiteral("Plik bazy danych jest uszkodzony.");

[[noreturn]] void refuseDamaged(const QString& sql)
{
    throw AppError(err::kDamaged, sql, kDamagedText + QStringLiteral(" Nic nie zostało zapisane."));
}

const QString kChangedText = QStringLiteral(
    "Plik bazy danych został w międzyczasie zmieniony przez inny program (odtworzony z kopii lub zabezpieczony "
    "innym hasłem). Nic nie zostało zapisane.");

QString engineMessage(sqlite3* h)
{
    return h ? QString::fromUtf8(sqlite3_errmsg(h)) : QString();
}

std::pair<long, QString> translate(int code, const QString& msg)
{
    // A change cut short leaves its journal beside the file; a connection that may not write
    // cannot undo it, and reads nothing until a writer has.
    if (code == SQLITE_READONLY_ROLLBACK)
        return {err::kUnfinishedChange,
                QStringLiteral("Plik bazy danych zawiera zmianę przerwaną przez awarię programu lub komputera, której "
                               "nie można wycofać bez prawa zapisu.")};
    // Of the refusals only a repeated key is the user's to mend: the others (a trigger, a
    // value the table does not take) are the file's.
    if ((code & 0xff) == SQLITE_CONSTRAINT && code != SQLITE_CONSTRAINT && code != SQLITE_CONSTRAINT_UNIQUE &&
        code != SQLITE_CONSTRAINT_PRIMARYKEY)
        return {err::kGeneral, QStringLiteral("Baza danych nie przyjęła zmiany.")};
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return {err::kTableLocked, QStringLiteral("Tabela jest zablokowana przez innego użytkownika.")};
    case SQLITE_NOTADB:
        return {err::kNotValidPassword, QStringLiteral("Nieprawidłowe hasło lub plik nie jest bazą danych.")};
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return {err::kNoAccess, QStringLiteral("Brak dostępu do pliku bazy danych lub do folderu, w którym się "
                                               "znajduje.")};
    case SQLITE_READONLY: return {err::kReadOnly, QStringLiteral("Baza danych jest tylko do odczytu.")};
    case SQLITE_CONSTRAINT:
        return {err::kDuplicateKey, QStringLiteral("Zmiana nie powiodła się: powtórzona wartość klucza.")};
    case SQLITE_FULL: return {err::kNoDiskSpace, QStringLiteral("Brak miejsca na dysku.")};
    case SQLITE_IOERR:
        return {err::kDiskOrNetwork, QStringLiteral("Błąd odczytu lub zapisu pliku bazy danych na dysku lub w sieci.")};
    case SQLITE_NOMEM: return {err::kOutOfMemory, QStringLiteral("Brak pamięci.")};
    case SQLITE_CORRUPT: return {err::kDamaged, kDamagedText};
    default: break;
    }
    if (msg.startsWith(QLatin1String("no such table")))
        return {err::kNoSuchTable, QStringLiteral("W bazie danych brakuje tabeli.")};
    if (msg.startsWith(QLatin1String("no such column")))
        return {err::kNoSuchColumn, QStringLiteral("W bazie danych brakuje kolumny.")};
    if (msg.contains(QLatin1String("integer overflow")))
        return {err::kNumericOverflow, QStringLiteral("Przepełnienie: suma lub wartość przekracza zakres liczb.")};
    return {err::kGeneral, QStringLiteral("Błąd bazy danych.")};
}

}  // namespace db
