// The steps that rewrite or copy the whole file through a connection: the password change and
// the backup copy.
#include "platform/database.h"
#include "platform/database_errors.h"
#include <QElapsedTimer>
#include <QFile>
#include <sqlcipher/sqlite3.h>

namespace db {

void Database::checkSoleUse()
{
    if (!presence_ || options_.exclusive) return;
    presence_->makeExclusive();
    presence_->makeShared();
}

void Database::changePassword(const QString& newPassword)
{
    if (inTransaction())
        throw AppError(err::kGeneral, QStringLiteral("changePassword"), QStringLiteral("Trwa transakcja."));
    // Nobody else may have the file open: a connection elsewhere would go on in the old file.
    // Afterwards this connection is an ordinary one again, unless it was opened exclusively.
    if (presence_) presence_->makeExclusive();
    struct SharedAgain {
        PresenceLock* lock;
        ~SharedAgain()
        {
            if (lock) lock->makeShared();
        }
    } sharedAgain{options_.exclusive ? nullptr : presence_.get()};
    // Nobody may write while the copy is made: hold the file's lock from here until it is closed.
    if (!options_.exclusive)
        executeScript(QStringLiteral("PRAGMA main.locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;"));
    // Copy the whole file into a new one with the new key, then swap the files.
    QString tmp = path_ + QStringLiteral(".haslo.tmp");
    QFile::remove(tmp);
    {
        // The connection was opened without the right to create files: make the empty file first.
        QFile blank(tmp);
        if (!blank.open(QIODevice::WriteOnly))
            throw AppError(err::kCannotOpen, tmp, QStringLiteral("Nie można utworzyć pliku %1.").arg(tmp));
    }
    {
        Statement at(*this, QStringLiteral("ATTACH DATABASE ? AS nowa KEY ?"));
        at.bind(1, Value(tmp));
        at.bind(2, Value(newPassword.toUtf8()));  // an empty key writes a plain file
        at.step();
    }
    try {
        int v = int(scalar(QStringLiteral("PRAGMA user_version")).toInt());
        executeScript(QStringLiteral("SELECT sqlcipher_export('nowa'); PRAGMA nowa.user_version=%1;").arg(v));
        executeScript(QStringLiteral("DETACH DATABASE nowa"));
    } catch (...) {
        sqlite3_exec(db_, "DETACH DATABASE nowa", nullptr, nullptr, nullptr);
        QFile::remove(tmp);
        throw;
    }
    // Close, swap and reopen with the new key; the old file stays until the new one is in place.
    const QString oldKey = QString::fromUtf8(key_);
    dropPrepared();
    sqlite3_close_v2(db_);
    db_ = nullptr;
    QString old = path_ + QStringLiteral(".haslo.old");
    QFile::remove(old);
    if (!QFile::rename(path_, old) || !QFile::rename(tmp, path_)) {
        if (!QFile::exists(path_)) QFile::rename(old, path_);
        QFile::remove(tmp);
        openHandle(oldKey, false);  // the file as it was, under its old key
        throw AppError(err::kGeneral, QStringLiteral("changePassword"),
                       QStringLiteral("Nie można zamienić pliku bazy danych."));
    }
    QFile::remove(old);
    openHandle(newPassword, false);
}

void Database::backupTo(const QString& destination)
{
    if (damaged_) refuseDamaged(destination);
    if (changed_) throw AppError(err::kFileReplaced, destination, kChangedText);
    QFile::remove(destination);
    sqlite3* out = nullptr;
    auto failed = [&](int code, const QString& msg) {
        auto [number, text] = translate(code, msg);
        if (out) sqlite3_close_v2(out);
        QFile::remove(destination);
        throw AppError(number, destination, QStringLiteral("Błąd kopiowania bazy danych: %1").arg(text));
    };
    int rc = sqlite3_open_v2(QFile::encodeName(destination).constData(), &out,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) failed(rc, engineMessage(out));
    if (encrypted_) sqlite3_key(out, key_.constData(), key_.size());
    sqlite3_backup* b = sqlite3_backup_init(out, "main", db_, "main");
    if (!b) failed(sqlite3_errcode(out), engineMessage(out));
    // All pages in one step, under one read lock of the source: a consistent snapshot. Another
    // workstation committing just now makes the step busy; it is tried again for a while.
    QElapsedTimer waited;
    waited.start();
    do {
        rc = sqlite3_backup_step(b, -1);
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited.elapsed() < options_.busyTimeoutMs)
            sqlite3_sleep(20);
        else if (rc != SQLITE_OK)
            break;
    } while (true);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE) failed(rc, engineMessage(out));
    rc = sqlite3_close(out);
    out = nullptr;
    if (rc != SQLITE_OK) failed(rc, QString());
}

}  // namespace db
