// The steps that rewrite or copy the whole file through a connection: the password change and
// the backup copy.
#include "platform/database.h"
#include "platform/database_errors.h"
#include "platform/private_file.h"
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <sqlcipher/sqlite3.h>
#include <system_error>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace db {
namespace {

// The password change writes the new file beside the database under this name and renames it
// over the database once it is complete on disk.
QString rewritePath(const QString& path)
{
    return path + QStringLiteral(".haslo.tmp");
}

// Where earlier versions of the program put the database aside during the change.
QString asidePath(const QString& path)
{
    return path + QStringLiteral(".haslo.old");
}

bool isPlainFile(const QString& path)
{
    const QFileInfo fi(path);
    return fi.isFile() && !fi.isSymLink();
}

// The unfinished new file goes, and with it the journal the engine kept beside it while writing.
void removeRewrite(const QString& tmp)
{
    for (const QString& f : {tmp, tmp + QStringLiteral("-journal")})
        if (isPlainFile(f)) QFile::remove(f);
}

[[noreturn]] void cannotWrite(const QString& path)
{
    throw AppError(err::kCannotOpen, path, QStringLiteral("Nie można utworzyć pliku %1.").arg(path));
}

// The rewritten file gets the database's mode, and its owner and group as far as the system
// lets this user give them, and is on disk before it replaces the database.
void finishRewriteFile(const QString& tmp, const QString& database)
{
#ifdef Q_OS_UNIX
    struct stat old {};
    if (::stat(QFile::encodeName(database).constData(), &old) != 0) cannotWrite(tmp);
    const int fd = ::open(QFile::encodeName(tmp).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) cannotWrite(tmp);
    // Another user's file keeps its owner only for an administrator; the group where this user
    // belongs to it. Neither is needed for the data to be safe: the mode is.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0) {}
    const bool done = ::fchmod(fd, old.st_mode & 07777) == 0 && ::fsync(fd) == 0;
    ::close(fd);
    if (!done) cannotWrite(tmp);
#else
    QFile::setPermissions(tmp, QFile::permissions(database));
#endif
}

// The rename itself is on disk: a crash afterwards finds the new file under the database's name.
void syncFolder(const QString& path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // some network file systems cannot: the rename is done all the same
    ::close(fd);
#else
    Q_UNUSED(path);
#endif
}

}  // namespace

void recoverPasswordChange(const QString& path)
{
    // A change cut short by an earlier version, between putting the database aside and renaming
    // the new file in: the file put aside is the whole database under its old password, while the
    // new one may never have reached the disk. It goes back under its name. With the database
    // there, the file put aside is left alone: it may be the only good copy if the database is not.
    const QString aside = asidePath(path);
    if (!QFileInfo::exists(path) && isPlainFile(aside)) {
        std::error_code ec;
        std::filesystem::rename(QFile::encodeName(aside).toStdString(), QFile::encodeName(path).toStdString(), ec);
    }
    // A rewrite cut short is never finished: the database under its name is the one in force.
    removeRewrite(rewritePath(path));
}

void Database::takeSoleUse()
{
    // No mark of presence, no way to know who else has the file open: the step is refused.
    if (presence_ && presence_->mode() == PresenceLock::Mode::Exclusive) return;
    if (!presence_)
        throw AppError(err::kFileInUse, path_,
                       QStringLiteral("Nie można sprawdzić, czy plik bazy danych %1 nie jest otwarty przez innego "
                                      "użytkownika. Operacja wymaga wyłącznego dostępu do bazy.")
                           .arg(path_));
    presence_->makeExclusive();
}

void Database::releaseSoleUse()
{
    if (presence_ && !options_.exclusive) presence_->makeShared();
}

void Database::changePassword(const QString& newPassword, const std::function<void(int step)>& afterStep)
{
    if (inTransaction())
        throw AppError(err::kGeneral, QStringLiteral("changePassword"), QStringLiteral("Trwa transakcja."));
    // Nobody else may have the file open: a connection elsewhere would go on in the old file.
    // A connection that had the file to itself keeps it so; any other one shares it again after.
    const bool heldBefore = presence_ && presence_->mode() == PresenceLock::Mode::Exclusive;
    takeSoleUse();
    struct SharedAgain {
        Database* d;
        ~SharedAgain()
        {
            if (d) d->releaseSoleUse();
        }
    } sharedAgain{heldBefore ? nullptr : this};
    const QString oldKey = QString::fromUtf8(key_);
    // The handle is opened anew (under `key`) in any case, which also ends the exclusive engine
    // lock taken below.
    auto reopen = [&](const QString& key) {
        dropPrepared();
        if (db_) sqlite3_close_v2(db_);
        db_ = nullptr;
        openHandle(key, false);
    };
    auto step = [&](int n) {
        if (afterStep) afterStep(n);
    };
    // Nobody may write while the copy is made: hold the file's lock until the new file replaced it.
    if (!options_.exclusive)
        executeScript(QStringLiteral("PRAGMA main.locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;"));
    // The whole file is copied into a new one with the new key, beside it; the database stays as
    // it is under its name until the new file is complete on disk, then one rename puts that in
    // its place. Whenever this stops, a file is there under the database's name.
    const QString tmp = rewritePath(path_);
    bool attached = false;
    try {
        removeRewrite(tmp);
        // The connection was opened without the right to create files: the empty file comes first,
        // readable by its owner alone until it takes the database's place.
        if (QFile blank(tmp); !createPrivate(blank)) cannotWrite(tmp);
        step(1);
        {
            Statement at(*this, QStringLiteral("ATTACH DATABASE ? AS nowa KEY ?"));
            at.bind(1, Value(tmp));
            at.bind(2, Value(newPassword.toUtf8()));  // an empty key writes a plain file
            at.step();
            attached = true;
        }
        const int v = int(scalar(QStringLiteral("PRAGMA user_version")).toInt());
        executeScript(QStringLiteral("SELECT sqlcipher_export('nowa'); PRAGMA nowa.user_version=%1;").arg(v));
        executeScript(QStringLiteral("DETACH DATABASE nowa"));
        attached = false;
        step(2);
        finishRewriteFile(tmp, path_);
        step(3);
    } catch (...) {
        if (attached) sqlite3_exec(db_, "DETACH DATABASE nowa", nullptr, nullptr, nullptr);
        removeRewrite(tmp);
        reopen(oldKey);  // the file as it was, under its old key
        throw;
    }
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(tmp).toStdString(), QFile::encodeName(path_).toStdString(), ec);
    if (ec) {
        removeRewrite(tmp);
        reopen(oldKey);
        throw AppError(err::kGeneral, QStringLiteral("changePassword"),
                       QStringLiteral("Nie można zamienić pliku bazy danych."));
    }
    syncFolder(path_);
    // From here on the file under the database's name is the new one.
    try {
        step(4);
    } catch (...) {
        reopen(newPassword);
        throw;
    }
    reopen(newPassword);
}

void Database::backupTo(const QString& destination)
{
    if (damaged_) refuseDamaged(destination);
    if (changed_) throw AppError(err::kFileReplaced, destination, kChangedText);
    QFile::remove(destination);
    // The engine would make the copy as a new database is made, readable by others: it gets an
    // empty file of its owner's alone to fill.
    if (QFile made(destination); !createPrivate(made))
        throw AppError(err::kPathFileAccess, destination,
                       QStringLiteral("Nie można zapisać pliku %1.").arg(destination));
    sqlite3* out = nullptr;
    auto failed = [&](int code, const QString& msg) {
        auto [number, text] = translate(code, msg);
        if (out) sqlite3_close_v2(out);
        QFile::remove(destination);
        throw AppError(number, destination, QStringLiteral("Błąd kopiowania bazy danych: %1").arg(text), msg);
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
