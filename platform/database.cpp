#include "platform/database.h"
#include "platform/database_errors.h"
#include "platform/sql_functions.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <chrono>
#include <sqlcipher/sqlite3.h>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace db {
namespace {

// The device and node of the file at `path`: a file put in its place has another identity.
QByteArray fileIdentity(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return QByteArrayLiteral("missing");
    return QByteArray::number(qulonglong(st.st_dev)) + ':' + QByteArray::number(qulonglong(st.st_ino));
#else
    Q_UNUSED(path);
    return {};  // an open file there cannot be renamed away
#endif
}

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The first `n` bytes of a regular file; nothing of anything else, which is never opened.
QByteArray fileHead(const QString& path, int n)
{
    if (notAFileRefusal(path)) return QByteArray();
#ifdef Q_OS_UNIX
    // Never waits, should a pipe be put there between the look above and this opening.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return QByteArray();
    QByteArray bytes(n, '\0');
    const ssize_t got = ::read(fd, bytes.data(), size_t(n));
    ::close(fd);
    bytes.truncate(got > 0 ? qsizetype(got) : 0);
    return bytes;
#else
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.read(n);
#endif
}

// What the first kilobyte of a file (and its size) tells of it: read once per opening.
struct FileHead {
    QByteArray bytes;
    qint64 size = 0;
    explicit FileHead(const QString& path) : bytes(fileHead(path, 1024)), size(QFileInfo(path).size()) {}
    bool plain() const { return bytes.startsWith(QByteArray("SQLite format 3\0", 16)); }
    bool jet() const
    {
        return bytes.size() >= 20 && (bytes.mid(4, 15) == "Standard Jet DB" || bytes.mid(4, 15) == "Standard ACE DB");
    }
    // An encrypted file is whole pages of ciphertext, and ciphertext looks random: its first
    // kilobyte holds nearly every byte value (about 250 of 256). Text, or a database whose
    // header was overwritten, holds far fewer; a threshold this low never refuses ciphertext.
    bool mayBeEncrypted() const
    {
        if (size <= 0 || size % 512 != 0) return false;
        bool seen[256] = {};
        int distinct = 0;
        for (char c : bytes)
            if (!seen[uchar(c)]) {
                seen[uchar(c)] = true;
                ++distinct;
            }
        return distinct >= 160;
    }
};

}  // namespace

std::optional<QString> notAFileRefusal(const QString& path)
{
    if (path.isEmpty()) return std::nullopt;
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode)) return std::nullopt;
    const bool folder = S_ISDIR(st.st_mode);
#else
    const QFileInfo info(path);
    if (!info.exists() || info.isFile()) return std::nullopt;
    const bool folder = info.isDir();
#endif
    return QStringLiteral("Ścieżka %1 wskazuje %2, a nie plik bazy danych.")
        .arg(QDir::toNativeSeparators(path),
             folder ? QStringLiteral("folder") : QStringLiteral("potok, gniazdo lub urządzenie"));
}

bool isPlainDatabaseFile(const QString& path)
{
    return FileHead(path).plain();
}

bool mayBeEncryptedFile(const QString& path)
{
    return FileHead(path).mayBeEncrypted();
}

bool isJetFile(const QString& path)
{
    return FileHead(path).jet();
}

// ---- Database ----

std::unique_ptr<Database> Database::open(const QString& path, const QString& password, const OpenOptions& options)
{
    // Looked at before anything opens it, its companion included.
    if (auto refusal = notAFileRefusal(path)) throw AppError(err::kNotAFile, path, *refusal);
    std::unique_ptr<Database> d(new Database(path, options));
    // Other workstations learn that the file is open here before anything is read; an exclusive
    // opening is refused at once while anybody else has it open.
    const bool exclusive = options.exclusive && !options.readOnly;
    d->presence_ = PresenceLock::take(path, exclusive ? PresenceLock::Mode::Exclusive : PresenceLock::Mode::Shared);
    // A password change running elsewhere holds the mark exclusively: with it taken here, none is.
    if (d->presence_ && !options.readOnly) recoverPasswordChange(path);
    d->openHandle(password, false);
    return d;
}

std::unique_ptr<Database> Database::create(const QString& path)
{
    std::unique_ptr<Database> d(new Database(path, OpenOptions{}));
    // Marked as open like any other connection, so that a step needing the file to itself can tell.
    d->presence_ = PresenceLock::take(path, PresenceLock::Mode::Shared);
    d->openHandle(QString(), true);
    return d;
}

namespace {
// Statements kept prepared per connection; the longest unused goes first.
constexpr size_t kKeptPrepared = 48;
}  // namespace

sqlite3_stmt* Database::takePrepared(const QByteArray& sql)
{
    for (auto it = prepared_.rbegin(); it != prepared_.rend(); ++it)
        if (it->first == sql) {
            sqlite3_stmt* st = it->second;
            prepared_.erase(std::next(it).base());
            return st;
        }
    return nullptr;
}

void Database::keepPrepared(QByteArray sql, sqlite3_stmt* st)
{
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    if (prepared_.size() >= kKeptPrepared) {
        sqlite3_finalize(prepared_.front().second);
        prepared_.erase(prepared_.begin());
    }
    prepared_.emplace_back(std::move(sql), st);
}

void Database::dropPrepared()
{
    for (auto& [sql, st] : prepared_) sqlite3_finalize(st);
    prepared_.clear();
}

Database::~Database()
{
    dropPrepared();
    if (db_) {
        if (sqlite3_get_autocommit(db_) == 0) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(db_);
    }
}

void Database::fail(int code, const QString& source)
{
    // Once the key is proven, "not a database" comes from a page that no longer reads; and
    // whatever fails on a damaged connection fails because of the damage.
    const int primary = code & 0xff;
    if (!damaged_ && primary == SQLITE_NOTADB && opened_) {
        // A page that no longer decrypts may be the whole file under another key: another program
        // re-keyed it, or a copy under another password was put in its place. That is no damage.
        const KeyFit fit = keyFitsFileNow();
        if (fit == KeyFit::No) markChanged(source);
        if (fit == KeyFit::Unknown) {
            auto [number, text] = translate(SQLITE_BUSY, QString());
            throw AppError(number, source, text);
        }
    }
    if (damaged_ || primary == SQLITE_CORRUPT || (primary == SQLITE_NOTADB && opened_))
        markDamaged(source, engineMessage(db_));
    throw engineError(code, source);
}

AppError Database::engineError(int code, const QString& source) const
{
    // The extended code tells more (a journal that could not be rolled back) when it is this one's.
    const int extended = db_ ? sqlite3_extended_errcode(db_) : code;
    const QString words = engineMessage(db_);
    auto [number, text] = translate((extended & 0xff) == (code & 0xff) ? extended : code, words);
    return AppError(number, source, text, words);
}

void Database::markDamaged(const QString& source, const QString& detail)
{
    const bool first = !damaged_;
    damaged_ = true;
    if (first && damageHandler_) damageHandler_();
    throw AppError(err::kDamaged, source, kDamagedText, detail);
}

void Database::markChanged(const QString& source)
{
    const bool first = !changed_;
    changed_ = true;
    if (first && changedHandler_) changedHandler_();
    throw AppError(err::kFileReplaced, source, kChangedText);
}

Database::KeyFit Database::keyFitsFileNow() const
{
    const FileHead head(path_);
    // A file that turned plain, or turned encrypted, is under another key than the one held here.
    if (head.plain() == encrypted_) return KeyFit::No;
    sqlite3* probe = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path_).constData(), &probe, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(probe);
        return KeyFit::Unknown;
    }
    if (encrypted_) sqlite3_key(probe, key_.constData(), int(key_.size()));
    sqlite3_busy_timeout(probe, 1000);
    const int rc = sqlite3_exec(probe, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    sqlite3_close_v2(probe);
    if (rc == SQLITE_OK) return KeyFit::Yes;
    return (rc & 0xff) == SQLITE_NOTADB ? KeyFit::No : KeyFit::Unknown;
}

int Database::waitForLock(void* self, int count)
{
    auto* d = static_cast<Database*>(self);
    if (count == 0) d->lockWaitStart_ = steadyMs();
    // On every try: a reader of this program that started meanwhile is stopped too.
    if (d->lockWaitHandler_) d->lockWaitHandler_();
    if (steadyMs() - d->lockWaitStart_ >= d->lockWaitLimitMs_) return 0;
    sqlite3_sleep(count < 4 ? 1 : count < 10 ? 5 : 20);
    return 1;
}

void Database::interrupt()
{
    sqlite3_interrupt(db_);
}

void Database::checkStructure()
{
    // The header was read at opening. One read transaction: no other workstation changes the
    // file while it is measured. The engine itself refuses a file shorter than the page count in
    // its header by a page or more; a part of its last page missing is seen here.
    Transaction reading(*this, Transaction::Mode::Deferred);
    const qint64 pageSize = scalar(QStringLiteral("PRAGMA page_size")).toInt();
    const qint64 pages = scalar(QStringLiteral("PRAGMA page_count")).toInt();
    if (QFileInfo(path_).size() < pages * pageSize) markDamaged(path_, QStringLiteral("plik jest niepełny"));
    // The first row of each table, in rowid order so that the table itself is read and not a
    // covering index, reads the pages from its root down: one statement for all of them. The
    // rest of every page is the background check's.
    QStringList ends;
    forEach(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND sql IS NOT NULL"), {},
            [&](const Row& r) {
                const QString table = '"' + r.at(0).toText().replace('"', QStringLiteral("\"\"")) + '"';
                ends << QStringLiteral("(SELECT rowid FROM %1 ORDER BY rowid LIMIT 1)").arg(table);
            });
    if (!ends.isEmpty()) scalar(QStringLiteral("SELECT ") + ends.join(u", "));
    reading.rollback();
}

void Database::releaseCache()
{
    if (db_) sqlite3_db_release_memory(db_);
}

void Database::checkWholeFile(Depth depth)
{
    const QString result = scalar(depth == Depth::Pages ? QStringLiteral("PRAGMA quick_check(1)")
                                                        : QStringLiteral("PRAGMA integrity_check(1)"))
                               .toText();
    if (result != QLatin1String("ok")) markDamaged(path_, result);
}

void Database::openHandle(const QString& password, bool create)
{
    const FileHead head(path_);
    if (!create && !QFileInfo::exists(path_))
        throw AppError(err::kCannotOpen, path_, QStringLiteral("Nie znaleziono pliku bazy danych: %1").arg(path_));
    if (!create && head.jet())
        throw AppError(err::kNotDatabase, path_,
                       QStringLiteral("Plik %1 nie jest bazą danych tego programu.").arg(path_));
    // Anything that is neither a plain database nor possibly an encrypted one is no database at
    // all, and no password would open it.
    if (!create && head.size > 0 && !head.plain() && !head.mayBeEncrypted())
        throw AppError(err::kNotDatabase, path_, QStringLiteral("Plik %1 nie jest bazą danych.").arg(path_));
    int flags = SQLITE_OPEN_FULLMUTEX | (options_.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
    if (create) flags |= SQLITE_OPEN_CREATE;
    opened_ = false;
    int rc = sqlite3_open_v2(QFile::encodeName(path_).constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        AppError e = engineError(rc, path_);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        if (e.number() == err::kGeneral) throw AppError(err::kInvalidArgument, path_, e.description(), e.engineText());
        throw e;
    }
    fileId_ = fileIdentity(path_);
    // A plain file is read as it is, whatever password was given.
    encrypted_ = !create && !head.plain() && head.size > 0;
    key_.clear();
    if (encrypted_) {
        key_ = password.toUtf8();
        sqlite3_key(db_, key_.constData(), key_.size());
    }
    try {
        configure();
    } catch (const AppError& e) {
        dropPrepared();
        sqlite3_close_v2(db_);
        db_ = nullptr;
        // A file with the plain header that the engine cannot read is damaged: no password would help.
        if (e.number() == err::kNotValidPassword && !encrypted_) throw AppError(err::kDamaged, path_, kDamagedText);
        if (e.number() == err::kNotValidPassword)
            throw AppError(err::kNotValidPassword, path_, QStringLiteral("Nieprawidłowe hasło."));
        if (e.number() == err::kTableLocked)
            throw AppError(err::kFileInUse, path_,
                           QStringLiteral("Plik jest otwarty w trybie wyłączności przez innego użytkownika."));
        throw;
    }
}

void Database::configure()
{
    // Short wait while opening: a workstation holding the file exclusively keeps it for as
    // long as it runs, so waiting the full statement timeout would only delay the refusal.
    lockWaitLimitMs_ = options_.openTimeoutMs;
    sqlite3_busy_handler(db_, &Database::waitForLock, this);
    registerSqlFunctions(db_);
    // The first read proves the key and meets a workstation that holds the file exclusively.
    scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (!options_.readOnly) executeScript(QStringLiteral("PRAGMA journal_mode=DELETE"));
    if (options_.exclusive && !options_.readOnly) {
        // The lock is taken now and kept until the file is closed.
        executeScript(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;"));
    }
    lockWaitLimitMs_ = options_.busyTimeoutMs;
    opened_ = true;
    seen_ = history();
}

QString insertStatement(const QString& table, const QStringList& columns)
{
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns.join(u", "), marks.join(u", "));
}

int Database::execute(const QString& sql, Params params)
{
    return execute(sql, std::vector<Value>(params));
}

int Database::execute(const QString& sql, const std::vector<Value>& params)
{
    Statement st(*this, sql);
    st.bindAll(params);
    while (st.step()) {}
    const int changed = sqlite3_changes(db_);
    if (changed > 0 && sqlite3_get_autocommit(db_)) noteCommit();
    return changed;
}

void Database::executeScript(const QString& sql)
{
    const bool rollback = sql.trimmed().compare(QLatin1String("ROLLBACK"), Qt::CaseInsensitive) == 0;
    if (damaged_ && !rollback) refuseDamaged(sql);
    if (changed_ && !rollback) throw AppError(err::kFileReplaced, sql, kChangedText);
    char* err = nullptr;
    int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK) fail(rc, sql);
}

std::vector<Row> Database::query(const QString& sql, Params params)
{
    return query(sql, std::vector<Value>(params));
}

std::vector<Row> Database::query(const QString& sql, const std::vector<Value>& params)
{
    std::vector<Row> rows;
    forEach(sql, params, [&](const Row& r) { rows.push_back(r); });
    return rows;
}

std::optional<Row> Database::queryOne(const QString& sql, Params params)
{
    Statement st(*this, sql);
    st.bindAll(std::vector<Value>(params));
    if (st.step()) return st.row();
    return std::nullopt;
}

Value Database::scalar(const QString& sql, Params params)
{
    auto r = queryOne(sql, params);
    return r && r->size() > 0 ? r->at(0) : Value();
}

void Database::forEach(const QString& sql, const std::vector<Value>& params, const std::function<void(const Row&)>& f)
{
    Statement st(*this, sql);
    st.bindAll(params);
    while (st.step()) f(st.row());
}

bool Database::tableExists(const QString& table)
{
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND lower(name)=lower(?)"),
                  {table})
               .toInt() > 0;
}

bool Database::columnExists(const QString& table, const QString& column)
{
    if (!tableExists(table)) return false;
    Statement st(*this, QStringLiteral("SELECT * FROM \"%1\" LIMIT 0").arg(QString(table).remove('"')));
    for (int i = 0; i < st.columnCount(); ++i)
        if (st.columnName(i).compare(column, Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool Database::inTransaction() const
{
    return sqlite3_get_autocommit(db_) == 0;
}

void Database::checkSameFile()
{
    if (changed_) throw AppError(err::kFileReplaced, path_, kChangedText);
    if (fileId_.isEmpty() || fileIdentity(path_) == fileId_) return;
    markChanged(path_);
}

qint64 Database::changeCounter() const
{
    // Read through the engine's own handle of the file: closing another handle of it would let go
    // of the engine's locks.
    sqlite3_file* file = nullptr;
    unsigned char counter[4];
    if (encrypted_ || sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods || file->pMethods->xRead(file, counter, 4, 24) != SQLITE_OK)
        return -1;
    return qFromBigEndian<quint32>(counter);
}

Database::History Database::history()
{
    return {changeCounter(), scalar(QStringLiteral("PRAGMA page_count")).toInt()};
}

void Database::checkSameHistory()
{
    const History now = history();
    const bool earlier = (now.changes >= 0 && now.changes < seen_.changes) || now.pages < seen_.pages;
    if (earlier) markChanged(path_);
    seen_ = now;
}

void Database::noteCommit()
{
    seen_.changes = std::max(seen_.changes, changeCounter());
}

// ---- Transaction ----

Transaction::Transaction(Database& db, Mode mode) : db_(db)
{
    db_.checkSameFile();
    db_.executeScript(mode == Mode::Immediate ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    if (mode != Mode::Immediate) return;
    // The writer's lock is held: no commit of another workstation is half written now.
    try {
        db_.checkSameHistory();
    } catch (...) {
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

Transaction::~Transaction()
{
    if (open_) sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    db_.executeScript(QStringLiteral("COMMIT"));
    open_ = false;
    db_.noteCommit();
}

void Transaction::rollback()
{
    if (open_) {
        open_ = false;
        db_.executeScript(QStringLiteral("ROLLBACK"));
    }
}

}  // namespace db
