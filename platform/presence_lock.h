#pragma once
#include <QString>
#include <memory>

namespace db {

// A connection's mark that it has a database file open, for every workstation sharing the file.
// The engine holds no lock between transactions, so an opening cannot tell from the file itself
// that somebody else has it open. Each connection therefore holds a lock on a companion file beside
// the database ("Firma.mdb" -> "Firma.mdb.lck") for as long as it is open: shared for an ordinary
// connection, exclusive for one that needs the file to itself. The system releases the lock when
// the process ends, however it ends, and the lock is seen by the other machines that share the
// folder over the network. The companion file is removed by the last connection to close.
class PresenceLock final {
public:
    enum class Mode { Shared, Exclusive };

    // Takes the lock beside `databasePath`. Throws AppError err::kFileInUse when it conflicts with
    // another connection's (of this process or another). Gives nullptr where no companion file can
    // be made or locked (a folder that cannot be written, a file system without locks): the file
    // then opens without it, as it would without this mark.
    static std::unique_ptr<PresenceLock> take(const QString& databasePath, Mode mode);
    ~PresenceLock();
    PresenceLock(const PresenceLock&) = delete;
    PresenceLock& operator=(const PresenceLock&) = delete;

    Mode mode() const { return mode_; }
    // Turns a shared lock into an exclusive one; throws err::kFileInUse, keeping the shared lock,
    // while anybody else has the file open or where the companion cannot be locked for writing
    // (opened for reading only). An exclusive take() is refused the same way for a companion that
    // is there but cannot be opened for writing.
    void makeExclusive();
    // Turns an exclusive lock back into a shared one.
    void makeShared();

    static QString companionPath(const QString& databasePath);

private:
    PresenceLock(int fd, QString databasePath, Mode mode) : fd_(fd), databasePath_(std::move(databasePath)), mode_(mode)
    {
    }
    int fd_ = -1;
    QString databasePath_;
    Mode mode_;
};

}  // namespace db
