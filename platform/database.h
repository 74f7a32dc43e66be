#pragma once
#include "platform/app_error.h"
#include "platform/db_value.h"
#include "platform/presence_lock.h"
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// Names and declared types of a result's columns, shared by its rows.
struct Columns {
    QHash<QString, int> index;  // name as the statement spells it -> position
    QStringList names;
    QStringList types;  // declared type of the table column ("CURRENCY", "BIT"...), or ""

    // The position of a column, names compared without case; -1 when there is none. A name
    // spelt as the statement spells it is found without building a text.
    int find(const QString& name) const;
};

// One row of a result: values by column position or by name (names compare without case).
class Row {
public:
    Row(std::shared_ptr<const Columns> columns, std::vector<Value> values)
        : columns_(std::move(columns)), values_(std::move(values))
    {
    }
    int size() const { return int(values_.size()); }
    const Value& at(int i) const { return values_.at(size_t(i)); }
    // Throws AppError 3265 when the row has no such column.
    const Value& operator[](const QString& name) const;
    bool has(const QString& name) const { return columns_->find(name) >= 0; }
    QString name(int i) const { return columns_->names.value(i); }
    int indexOf(const QString& name) const { return columns_->find(name); }
    // Declared type of a column, upper case without width ("TEXT(100)" gives "TEXT").
    QString declaredType(int i) const { return columns_->types.value(i); }
    QString declaredType(const QString& name) const { return columns_->types.value(columns_->find(name)); }

    QString text(const QString& n) const { return (*this)[n].toText(); }
    qint64 integer(const QString& n) const { return (*this)[n].toInt(); }
    bool boolean(const QString& n) const { return (*this)[n].toBool(); }
    Decimal decimal(const QString& n) const { return (*this)[n].toDecimal(); }
    OptDecimal optDecimal(const QString& n) const { return (*this)[n].toOptDecimal(); }
    QDate date(const QString& n) const { return (*this)[n].toDate(); }
    bool isNull(const QString& n) const { return (*this)[n].isNull(); }

private:
    std::shared_ptr<const Columns> columns_;
    std::vector<Value> values_;
};

// The error of a column that a row or a result lacks: AppError 3265.
AppError missingColumn(const QString& name);

using Params = std::initializer_list<Value>;

// "INSERT INTO table (a, b) VALUES (?, ?)": one row of the named columns, its values bound.
QString insertStatement(const QString& table, const QStringList& columns);

class Database;

// A prepared statement; values are always bound, never written into the SQL text.
class Statement {
public:
    Statement(Database& db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const Value& v);            // index from 1
    void bindAll(const std::vector<Value>& values);  // from 1 upward
    // Steps once: true while a row is there.
    bool step();
    Row row() const;
    // One column of the current row, by position from 0: cheaper than row() for long results.
    Value value(int i) const;
    // The column's text as the engine holds it (UTF-8), valid until the next step; a null view
    // for NULL. Cheapest of all where the text is copied on at once.
    QByteArrayView utf8(int i) const;
    bool isNull(int i) const;
    void reset();
    int columnCount() const;
    QString columnName(int i) const;
    // Throws missingColumn() for the first of `names` that the result lacks (names compared
    // without case); the rows need not be read for that.
    void requireColumns(const QStringList& names) const;

private:
    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
    mutable std::shared_ptr<const Columns> columns_;
};

struct OpenOptions {
    bool exclusive = false;
    bool readOnly = false;
    // How long statements wait for another workstation's lock (a save in progress there).
    int busyTimeoutMs = 5000;
    // How long the opening waits: a file held exclusively elsewhere is refused with 3045 after
    // this, instead of after the long wait above; a commit elsewhere takes far less.
    int openTimeoutMs = 500;
};

// One open database file. Opening with a password decrypts the file; a plain file ignores the
// password, as the old engine did for unprotected files.
class Database {
public:
    static std::unique_ptr<Database> open(const QString& path, const QString& password = QString(),
                                          const OpenOptions& options = {});
    // Creates a new, empty plain file (for the template builder and tests).
    static std::unique_ptr<Database> create(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    bool isEncrypted() const { return encrypted_; }
    bool isExclusive() const { return options_.exclusive; }
    sqlite3* handle() const { return db_; }

    // Runs a statement that returns no rows; gives the number of rows changed.
    int execute(const QString& sql, Params params = {});
    int execute(const QString& sql, const std::vector<Value>& params);
    // Runs several statements without parameters (schema scripts).
    void executeScript(const QString& sql);
    std::vector<Row> query(const QString& sql, Params params = {});
    std::vector<Row> query(const QString& sql, const std::vector<Value>& params);
    std::optional<Row> queryOne(const QString& sql, Params params = {});
    // First column of the first row, or a null value.
    Value scalar(const QString& sql, Params params = {});
    // Streams rows without keeping them (large registers).
    void forEach(const QString& sql, const std::vector<Value>& params, const std::function<void(const Row&)>& f);

    bool tableExists(const QString& table);
    bool columnExists(const QString& table, const QString& column);
    bool inTransaction() const;
    // Throws when the file under the database's path is no longer the one this connection opened
    // (another program put a copy in its place): whatever is written here would go into a file
    // nobody will read again. The connection is marked changed (below).
    void checkSameFile();
    // Throws when the file shows an earlier history than this connection saw of it: its change
    // counter (which every commit raises; a plain file's header alone shows it) lower, or fewer
    // pages (no step of this program shrinks a file). That is a copy written over the file in
    // place. Run by a writer's transaction under its lock; the connection is marked changed.
    void checkSameHistory();
    // After a commit of this connection: the file's history now includes it.
    void noteCommit();

    // Takes the file to this connection alone, in the one step that also finds whether anybody
    // else has it open: throws err::kFileInUse while any other connection, of this process or of
    // another workstation, has it open, and also where the mark of presence cannot be made
    // exclusive (nobody could tell). Held until releaseSoleUse() or the connection is closed.
    void takeSoleUse();
    // Lets other connections open the file again, unless this one was opened exclusively.
    void releaseSoleUse();

    // Sets, changes or removes (empty text) the password. Takes the file to itself as above; the
    // file is rewritten beside the database and renamed over it once complete on disk, with the
    // database's mode: whenever it stops, the old file or the new one is under the database's
    // name. `afterStep` is called after each step of the swap with its number (1 to 4); when it
    // throws, the change stops there as a failure would.
    void changePassword(const QString& newPassword, const std::function<void(int step)>& afterStep = {});

    // Writes a complete, consistent copy of the database (a snapshot, even while other
    // workstations write) to `destination`, keyed with the same password. An existing file
    // there is replaced; on failure the half-written destination is removed.
    void backupTo(const QString& destination);

    // Raises the engine's last error as an AppError with our number. A damaged page met by the
    // statement marks the connection damaged (below).
    [[noreturn]] void fail(int code, const QString& source);

    // The structural check of opening: reads a bounded number of pages whatever the file's size
    // (the schema and the first row of every table; the header was read by the opening) and
    // compares the file's length with its page count. Throws AppError err::kDamaged when the
    // file is damaged.
    void checkStructure();
    // The whole-file check: reads every page. Throws AppError err::kDamaged when a page is
    // damaged, any other AppError when the check could not finish (interrupted, locked).
    void checkWholeFile();
    // Stops the statement running on this connection in another thread; it fails at once.
    void interrupt();
    // Lets go of the pages this connection keeps from its reads: after a read of a whole table or
    // index they are of no use to the next step.
    void releaseCache();

    // Once a statement met a damaged page the connection reads and writes nothing more: every
    // statement, transaction and copy is refused with err::kDamaged (a rollback still runs).
    // The object stays usable, so that code still running on it fails instead of crashing.
    bool isDamaged() const { return damaged_; }
    // Marks the connection damaged when the damage was found elsewhere (the whole-file check).
    void setDamaged() { damaged_ = true; }
    // Called once, in the thread of the failing statement, when the connection is found damaged.
    void setDamageHandler(std::function<void()> handler) { damageHandler_ = std::move(handler); }
    bool hasDamageHandler() const { return bool(damageHandler_); }
    // The file was changed under this connection by something the program cannot keep out: put
    // in its place (a copy restored by hand) or re-keyed by another program, so that the key held
    // here no longer opens it. Like a damaged one, the connection then reads and writes nothing
    // more (err::kFileReplaced); the program connects to the file anew.
    bool isChanged() const { return changed_; }
    // Called once, in the thread of the failing statement, when the connection is found changed.
    void setChangedHandler(std::function<void()> handler) { changedHandler_ = std::move(handler); }
    // Called while a statement here waits for another connection's lock, on every try.
    void setLockWaitHandler(std::function<void()> handler) { lockWaitHandler_ = std::move(handler); }

private:
    Database(QString path, OpenOptions options) : path_(std::move(path)), options_(options) {}
    void openHandle(const QString& password, bool create);
    void configure();
    // The engine's last error, `code`, as the program's error: number, Polish text, engine's words.
    AppError engineError(int code, const QString& source) const;
    [[noreturn]] void markDamaged(const QString& source, const QString& detail);
    [[noreturn]] void markChanged(const QString& source);
    enum class KeyFit { Yes, No, Unknown };
    // Whether the key this connection holds opens the file as it is now (a fresh look at it).
    KeyFit keyFitsFileNow() const;
    static int waitForLock(void* self, int count);

    sqlite3* db_ = nullptr;
    QString path_;
    OpenOptions options_;
    bool encrypted_ = false;
    bool opened_ = false;  // the key was proven: a "not a database" now means a damaged page
    bool damaged_ = false;
    bool changed_ = false;
    int lockWaitLimitMs_ = 0;
    qint64 lockWaitStart_ = 0;
    std::function<void()> damageHandler_;
    std::function<void()> changedHandler_;
    std::function<void()> lockWaitHandler_;
    QByteArray key_;     // kept for copies that must open with the same password
    QByteArray fileId_;  // the opened file's identity on disk; empty where the system gives none
    struct History {
        qint64 changes = -1;  // the header's change counter; -1 where the header is ciphertext
        qint64 pages = -1;
    };
    History history();
    qint64 changeCounter() const;
    History seen_;                            // the file's history as this connection last saw it
    std::unique_ptr<PresenceLock> presence_;  // released after the engine's connection is closed
};

// A transaction that rolls back unless committed. Writers start it IMMEDIATE, so two
// workstations saving at once are served one after the other instead of failing.
class Transaction {
public:
    enum class Mode { Deferred, Immediate };
    explicit Transaction(Database& db, Mode mode = Mode::Immediate);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();
    void rollback();

private:
    Database& db_;
    bool open_ = true;
};

// What an interrupted password change left beside the database `path` is put right before it is
// opened: the unfinished new file is removed; a database that an earlier version put aside and
// never replaced goes back under its name.
void recoverPasswordChange(const QString& path);

// The refusal of what is at `path` when it is there but is no regular file (a folder, a pipe, a
// device, a socket), found without opening it: opening a pipe would wait for a writer for good.
// nullopt for a regular file, and for nothing at all (whose own message comes later).
std::optional<QString> notAFileRefusal(const QString& path);
// Whether a file starts with the header of a plain (unencrypted) database.
bool isPlainDatabaseFile(const QString& path);
// Whether a file can be an encrypted database: whole pages whose first one looks like ciphertext.
// A file that is neither this nor a plain database is no database at all.
bool mayBeEncryptedFile(const QString& path);
// Whether a file starts with the signature of the old Jet/ACE engine.
bool isJetFile(const QString& path);

}  // namespace db
