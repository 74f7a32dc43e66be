#include "platform/database_snapshot.h"
#include "platform/database.h"
#include "platform/private_file.h"
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <limits>
#include <sqlcipher/sqlite3.h>
#include <vector>

namespace db {

namespace {

// After this many passes that met a commit, a pass is made under one read lock, so that a steady
// stream of saves elsewhere cannot keep the copy from finishing; but only when the whole file can
// be read within kLockBoundMs, with a margin, at the pace the pieces were read, and that pass lets go of the
// lock after kLockBoundMs whatever it copied by then: a save elsewhere never waits longer.
constexpr int kPassesInPieces = 3;
constexpr qint64 kLockBoundMs = 250;
// A file that never stays unchanged for one pass is given up after this many.
constexpr int kPasses = 40;
// Pieces are told apart by a hash of their bytes; a seed picks the engine's fast one.
constexpr size_t kHashSeed = 0x9e3779b97f4a7c15u;
// Changed pieces read under that one lock and kept until it is let go; past this the pass stops.
constexpr qint64 kHeldBytes = 64 << 20;

// The file's read lock, taken by a read transaction of the copying connection: nobody commits
// while it is held, and a hot journal is rolled back before it is granted.
class ReadLock {
public:
    explicit ReadLock(Database& db) : db_(db)
    {
        db_.executeScript(QStringLiteral("BEGIN"));
        db_.scalar(QStringLiteral("PRAGMA schema_version"));  // the lock is taken by the first read
        held_.start();
    }
    ~ReadLock() { sqlite3_exec(db_.handle(), "COMMIT", nullptr, nullptr, nullptr); }
    ReadLock(const ReadLock&) = delete;
    ReadLock& operator=(const ReadLock&) = delete;
    qint64 heldMs() const { return held_.elapsed(); }

private:
    Database& db_;
    QElapsedTimer held_;
};

struct Piece {
    qint64 version = -1;  // the file's version the piece was read at; -1: not copied yet
    size_t hash = 0;
};

class Copier {
public:
    Copier(const QString& path, const QString& password, QFile& out, const SnapshotOptions& options)
        : db_(Database::open(path, password)), out_(out), options_(options), buffer_(options.pieceBytes, '\0')
    {
        sqlite3_file_control(db_->handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file_);
        if (!file_ || !file_->pMethods) fail(SQLITE_CANTOPEN);
    }

    SnapshotCost run()
    {
        while (true) {
            ++cost_.passes;
            const bool oneLock = cost_.passes > kPassesInPieces && wholeReadMs() * 5 / 4 < kLockBoundMs;
            readNs_ = readBytes_ = 0;
            if (oneLock) {
                ReadLock lock(*db_);
                look();
                for (qint64 i = 0; i * piece() < size_ && held_ < kHeldBytes && lock.heldMs() < kLockBoundMs; ++i)
                    copy(i);
                note(lock);
            } else {
                for (qint64 i = 0; i * piece() < size_ || i == 0; ++i) {
                    {
                        ReadLock lock(*db_);
                        look();
                        if (i * piece() < size_) copy(i);
                        note(lock);
                    }
                    write();
                    if (options_.betweenPieces) options_.betweenPieces();
                    if (options_.cancel && *options_.cancel)
                        throw AppError(err::kGeneral, db_->path(), QStringLiteral("Przerwano."));
                }
            }
            write();
            if (whole()) break;
            if (cost_.passes >= kPasses)
                throw AppError(err::kFileInUse, db_->path(),
                               QStringLiteral("Plik bazy danych jest bez przerwy zapisywany na innym stanowisku."));
        }
        if (!out_.resize(size_) || !out_.flush()) fail(SQLITE_IOERR_WRITE);
        return cost_;
    }

private:
    qint64 piece() const { return options_.pieceBytes; }

    // How long reading the whole file takes at the pace of the pieces read in the last pass;
    // unknown (too long) when it read too little to tell.
    qint64 wholeReadMs() const
    {
        if (readBytes_ < std::min<qint64>(size_ / 4, 16 << 20)) return std::numeric_limits<qint64>::max() / 2;
        return qint64(double(readNs_) / double(readBytes_) * double(size_) / 1e6);
    }

    // The file's version and length under the lock held now.
    void look()
    {
        version_ = db_->scalar(QStringLiteral("PRAGMA data_version")).toInt();
        sqlite3_int64 size = 0;
        int rc = file_->pMethods->xFileSize(file_, &size);
        if (rc != SQLITE_OK) fail(rc);
        size_ = size;
        pieces_.resize(size_t((size_ + piece() - 1) / piece()));
    }

    // Piece i as the file holds it now, kept for the copy unless the copy holds it already. It is
    // written once the lock is let go: a write may wait for the disk.
    void copy(qint64 i)
    {
        Piece& p = pieces_[size_t(i)];
        if (p.version == version_) return;
        const qint64 offset = i * piece();
        const int n = int(std::min(piece(), size_ - offset));
        QElapsedTimer read;
        read.start();
        int rc = file_->pMethods->xRead(file_, buffer_.data(), n, offset);
        if (rc != SQLITE_OK) fail(rc);
        const size_t hash = qHashBits(buffer_.constData(), size_t(n), kHashSeed);
        readNs_ += read.nsecsElapsed();
        readBytes_ += n;
        if (p.version < 0 || hash != p.hash) {
            pending_.push_back({offset, QByteArray(buffer_.constData(), n)});
            held_ += n;
        }
        p = {version_, hash};
    }

    // Writes the pieces kept, with no lock held.
    void write()
    {
        for (const auto& [offset, bytes] : pending_) {
            if (!out_.seek(offset) || out_.write(bytes) != bytes.size()) fail(SQLITE_IOERR_WRITE);
            cost_.written += bytes.size();
        }
        pending_.clear();
        held_ = 0;
    }

    void note(const ReadLock& lock) { cost_.longestLockMs = std::max(cost_.longestLockMs, lock.heldMs()); }

    // Every piece was read at the version seen last: the copy is the file as it was then.
    bool whole() const
    {
        for (const Piece& p : pieces_)
            if (p.version != version_) return false;
        return true;
    }

    [[noreturn]] void fail(int code) { db_->fail(code, out_.fileName()); }

    std::unique_ptr<Database> db_;  // may write only to roll back a crashed writer's journal
    QFile& out_;
    const SnapshotOptions& options_;
    QByteArray buffer_;
    sqlite3_file* file_ = nullptr;
    std::vector<Piece> pieces_;
    std::vector<std::pair<qint64, QByteArray>> pending_;
    qint64 held_ = 0;
    qint64 readNs_ = 0;  // spent reading and hashing pieces in this pass
    qint64 readBytes_ = 0;
    qint64 version_ = -1;
    qint64 size_ = 0;
    SnapshotCost cost_;
};

}  // namespace

SnapshotCost snapshotFile(const QString& path, const QString& password, const QString& destination,
                          const SnapshotOptions& options)
{
    QFile::remove(destination);
    QFile out(destination);
    try {
        if (!createPrivate(out))
            throw AppError(err::kPathFileAccess, destination,
                           QStringLiteral("Nie można zapisać pliku %1.").arg(destination));
        Copier copier(path, password, out, options);
        SnapshotCost cost = copier.run();
        out.close();
        return cost;
    } catch (...) {
        out.close();
        QFile::remove(destination);
        throw;
    }
}

}  // namespace db
