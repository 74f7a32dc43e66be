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
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return {err::kTableLocked, QStringLiteral("Tabela jest zablokowana przez innego użytkownika.")};
    case SQLITE_NOTADB:
        return {err::kNotValidPassword, QStringLiteral("Nieprawidłowe hasło lub plik nie jest bazą danych.")};
    case SQLITE_CANTOPEN: return {err::kCannotOpen, QStringLiteral("Nie można otworzyć pliku bazy danych.")};
    case SQLITE_READONLY: return {err::kReadOnly, QStringLiteral("Baza danych jest tylko do odczytu.")};
    case SQLITE_CONSTRAINT:
        return {err::kDuplicateKey,
                QStringLiteral("Zmiana nie powiodła się: powtórzona wartość klucza (%1).").arg(msg)};
    case SQLITE_FULL: return {err::kNoDiskSpace, QStringLiteral("Brak miejsca na dysku.")};
    case SQLITE_CORRUPT: return {err::kDamaged, kDamagedText};
    default: break;
    }
    if (msg.startsWith("no such table"))
        return {err::kNoSuchTable, QStringLiteral("Nie znaleziono tabeli (%1).").arg(msg)};
    if (msg.startsWith("no such column"))
        return {err::kNoSuchColumn, QStringLiteral("Nie znaleziono kolumny (%1).").arg(msg)};
    return {err::kGeneral, QStringLiteral("Błąd bazy danych: %1").arg(msg)};
}

}  // namespace db
