#include "platform/presence_lock.h"
#include "platform/app_error.h"
#include <QFile>
#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace db {
namespace {

#ifdef Q_OS_UNIX
// Locks held per open file (not per process, as the classic record locks are), so that two
// connections of one process see each other as two workstations would.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK;
#endif

enum class Outcome { Taken, Conflict, Unsupported };

Outcome lockFile(int fd, short type)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 1;
    if (::fcntl(fd, kSetLock, &fl) == 0) return Outcome::Taken;
    return errno == EAGAIN || errno == EACCES ? Outcome::Conflict : Outcome::Unsupported;
}

// Whether the open file is still the one under `path`: a companion removed by the last
// connection to close, between this one's opening and locking it, is opened again.
bool stillThere(int fd, const QByteArray& path)
{
    struct stat open {
    }, named{};
    return ::fstat(fd, &open) == 0 && ::stat(path.constData(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

// The companion is made with the database's own permissions: a private copy's is private too.
mode_t companionMode(const QString& databasePath)
{
    struct stat st {};
    if (::stat(QFile::encodeName(databasePath).constData(), &st) != 0) return 0666;
    return st.st_mode & 0666;
}
#endif

[[noreturn]] void inUse(const QString& databasePath)
{
    throw AppError(err::kFileInUse, databasePath,
                   QStringLiteral("Plik bazy danych jest otwarty przez innego użytkownika: %1").arg(databasePath));
}

// A companion this user may not lock for writing (another user's, read-only) could hide
// somebody who has the file open: the file is not given to anybody alone.
[[noreturn]] void cannotLock(const QString& databasePath)
{
    throw AppError(err::kFileInUse, databasePath,
                   QStringLiteral("Nie można zablokować pliku %1 do wyłącznego użytku: nie można sprawdzić, czy baza "
                                  "danych nie jest otwarta przez innego użytkownika.")
                       .arg(PresenceLock::companionPath(databasePath)));
}

}  // namespace

QString PresenceLock::companionPath(const QString& databasePath)
{
    return databasePath + QStringLiteral(".lck");
}

std::unique_ptr<PresenceLock> PresenceLock::take(const QString& databasePath, Mode mode)
{
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(companionPath(databasePath));
    for (int attempt = 0; attempt < 10; ++attempt) {
        // Never waits, whatever is found under the companion's name.
        int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, companionMode(databasePath));
        // A folder where nothing can be written may still hold a companion another workstation made.
        if (fd < 0 && mode == Mode::Shared) fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0 && mode == Mode::Exclusive && ::access(path.constData(), F_OK) == 0) cannotLock(databasePath);
        if (fd < 0) return nullptr;
        const Outcome taken = lockFile(fd, mode == Mode::Shared ? F_RDLCK : F_WRLCK);
        if (taken == Outcome::Taken && stillThere(fd, path))
            return std::unique_ptr<PresenceLock>(new PresenceLock(fd, databasePath, mode));
        ::close(fd);
        if (taken == Outcome::Conflict) inUse(databasePath);
        if (taken == Outcome::Unsupported) return nullptr;
    }
#else
    Q_UNUSED(databasePath);
    Q_UNUSED(mode);
#endif
    return nullptr;
}

void PresenceLock::makeExclusive()
{
#ifdef Q_OS_UNIX
    if (mode_ == Mode::Exclusive) return;
    // The shared lock stays when the exclusive one is refused.
    const Outcome taken = lockFile(fd_, F_WRLCK);
    if (taken == Outcome::Conflict) inUse(databasePath_);
    if (taken != Outcome::Taken) cannotLock(databasePath_);  // a companion opened for reading only
    mode_ = Mode::Exclusive;
#endif
}

void PresenceLock::makeShared()
{
#ifdef Q_OS_UNIX
    if (mode_ == Mode::Shared) return;
    if (lockFile(fd_, F_RDLCK) == Outcome::Taken) mode_ = Mode::Shared;
#endif
}

PresenceLock::~PresenceLock()
{
#ifdef Q_OS_UNIX
    // The last connection to close removes the companion: nobody else holds a lock on it then. One
    // that opened it meanwhile finds it gone after locking and makes a new one.
    if (mode_ == Mode::Exclusive || lockFile(fd_, F_WRLCK) == Outcome::Taken)
        ::unlink(QFile::encodeName(companionPath(databasePath_)).constData());
    ::close(fd_);
#endif
}

}  // namespace db
