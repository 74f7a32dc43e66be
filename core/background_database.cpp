#include "core/background_database.h"
#include "core/app.h"
#include "platform/database.h"
#include "platform/database_snapshot.h"
#include "platform/process_memory.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QThread>
#include <cerrno>
#include <chrono>
#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace {

// How long the program must not have waited for a lock before a stopped read runs again.
constexpr qint64 kQuietMs = 700;
// A read that keeps failing for another reason than damage (the file held elsewhere) is given up.
constexpr int kAttempts = 5;

// A copy of the file for the check, in the temporary folder: one file per check, let go after it.
// Copies left by a program that died meanwhile (the process named in them runs no more) are
// removed first (each is as large as its database), with the lock file of the copy's opening.
QString checkCopyPath()
{
    QDir temp(QDir::tempPath());
#ifdef Q_OS_UNIX
    static const QRegularExpression named(QStringLiteral("^rolkwit-check-(\\d+)-\\d+\\.tmp(\\.lck)?$"));
    for (const QString& name :
         temp.entryList({QStringLiteral("rolkwit-check-*.tmp"), QStringLiteral("rolkwit-check-*.tmp.lck")},
                        QDir::Files | QDir::NoSymLinks)) {
        auto m = named.match(name);
        if (m.hasMatch() && ::kill(pid_t(m.captured(1).toLongLong()), 0) != 0 && errno == ESRCH)
            QFile::remove(temp.filePath(name));
    }
#endif
    return temp.filePath(QStringLiteral("rolkwit-check-%1-%2.tmp")
                             .arg(QCoreApplication::applicationPid())
                             .arg(quintptr(QThread::currentThreadId())));
}

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

BackgroundDatabase::BackgroundDatabase(Damaged damaged) : damaged_(std::move(damaged)) {}

BackgroundDatabase::~BackgroundDatabase()
{
    stop();
}

void BackgroundDatabase::watch(db::Database& db, const QString& haslo)
{
    if (watched_ == &db && db.hasDamageHandler()) return;
    stop();
    quint64 session = 0;
    {
        std::lock_guard lock(mutex_);
        session = ++session_;
        stopping_ = false;
        cancelCheck_ = false;
        checkQueued_ = true;
    }
    watched_ = &db;
    path_ = db.path();
    password_ = haslo;
    pending_ = 1;
    QPointer<BackgroundDatabase> self(this);
    db.setDamageHandler([self, session] {
        if (self)
            QMetaObject::invokeMethod(
                self, [self, session] { self->reportDamage(session); }, Qt::QueuedConnection);
    });
    db.setLockWaitHandler([self, session] {
        if (self && self->session_ == session) self->writerWaits();
    });
}

void BackgroundDatabase::stop()
{
    {
        std::lock_guard lock(mutex_);
        ++session_;
        stopping_ = true;
        reads_.clear();
        checkQueued_ = false;
        cancelCheck_ = true;
        if (running_) {
            interrupted_ = true;
            running_->interrupt();
        }
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
    watched_ = nullptr;
    held_.clear();
    pending_ = 0;
    started_ = false;
}

bool BackgroundDatabase::read(Read r)
{
    if (!watched_) return false;
    held_.push_back({std::move(r)});
    ++pending_;
    return true;
}

void BackgroundDatabase::start()
{
    if (!watched_) return;
    started_ = true;
    quint64 session = 0;
    {
        std::lock_guard lock(mutex_);
        session = session_;
        for (Job& j : held_) reads_.push_back(std::move(j));
    }
    held_.clear();
    wake_.notify_all();
    if (!worker_.joinable() && pending_ > 0)
        worker_ = std::thread([this, session, path = path_, haslo = password_] { run(session, path, haslo); });
}

bool BackgroundDatabase::waitIdle(int ms)
{
    start();
    QDeadlineTimer deadline(ms);
    while (pending_ > 0 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return pending_ == 0;
}

void BackgroundDatabase::writerWaits()
{
    std::lock_guard lock(mutex_);
    lastWriterWait_ = steadyMs();
    // The check reads a copy of its own: it keeps nobody waiting.
    if (running_ && runningShared_) {
        interrupted_ = true;
        running_->interrupt();
    }
}

// Waits for a job of `session`: the reads first, then the check, each once the program has been
// quiet for a moment. False when the session ended.
bool BackgroundDatabase::takeJob(std::unique_lock<std::mutex>& lock, quint64 session, Job& job)
{
    while (true) {
        if (stopping_ || session_ != session) return false;
        const bool work = !reads_.empty() || checkQueued_;
        const qint64 quietFor = steadyMs() - lastWriterWait_;
        if (work && quietFor >= kQuietMs) break;
        if (!work)
            wake_.wait(lock);
        else
            wake_.wait_for(lock, std::chrono::milliseconds(kQuietMs - quietFor));
    }
    if (!reads_.empty()) {
        job = std::move(reads_.front());
        reads_.pop_front();
    } else {
        job = Job{};
        checkQueued_ = false;
    }
    interrupted_ = false;
    return true;
}

void BackgroundDatabase::run(quint64 session, QString path, QString haslo)
{
    std::unique_ptr<db::Database> conn;
    std::unique_lock lock(mutex_);
    Job job;
    while (true) {
        // Nothing queued: the connection's page cache is let go until more comes. The connection
        // stays open: opening a protected file derives its key again, which costs more than
        // most reads.
        if (conn && reads_.empty() && !checkQueued_) {
            lock.unlock();
            conn->releaseCache();
            memory::returnFreePages();
            lock.lock();
        }
        if (!takeJob(lock, session, job)) break;
        lock.unlock();
        Delivery delivery;
        bool damaged = false, done = false;
        try {
            if (job.read) {
                if (!conn) conn = db::Database::open(path, haslo, {.readOnly = true});
                {
                    std::lock_guard running(mutex_);
                    running_ = conn.get();
                    runningShared_ = true;
                }
                delivery = job.read(*conn);
            } else {
                checkCopy(path, haslo);
            }
            done = true;
        } catch (const AppError& e) {
            damaged = e.number() == err::kDamaged;
        } catch (...) {
            // Not reported from this thread: any other failure is a failed attempt, tried again
            // below up to kAttempts times like a busy file.
        }
        lock.lock();
        running_ = nullptr;
        runningShared_ = false;
        // What a stopped read found proves nothing, "ok" or not: it runs again.
        if (interrupted_) {
            done = damaged = false;
            lastWriterWait_ = std::max(lastWriterWait_, steadyMs());
        }
        if (damaged) {
            lock.unlock();
            QMetaObject::invokeMethod(
                this, [this, session] { reportDamage(session); }, Qt::QueuedConnection);
            return;
        }
        if (!done) {
            conn.reset();
            if (++job.attempts < kAttempts) {
                if (job.read)
                    reads_.push_front(std::move(job));
                else
                    checkQueued_ = true;
                continue;
            }
        }
        lock.unlock();
        deliver(session, std::move(delivery));
        lock.lock();
    }
}

// The whole-file check, on a consistent copy of the file taken in short pieces, so that it holds
// the file's lock only for moments, however long the check itself takes.
void BackgroundDatabase::checkCopy(const QString& path, const QString& haslo)
{
    const QString copy = checkCopyPath();
    struct Removed {
        QString path;
        ~Removed() { QFile::remove(path); }
    } removed{copy};
    db::SnapshotOptions options;
    options.cancel = &cancelCheck_;
    db::snapshotFile(path, haslo, copy, options);
    auto checked = db::Database::open(copy, haslo, {.readOnly = true});
    {
        std::lock_guard running(mutex_);
        if (cancelCheck_) return;
        running_ = checked.get();
    }
    try {
        checked->checkWholeFile();
    } catch (...) {
        std::lock_guard running(mutex_);
        running_ = nullptr;
        throw;
    }
    std::lock_guard running(mutex_);
    running_ = nullptr;
}

void BackgroundDatabase::deliver(quint64 session, Delivery d)
{
    QMetaObject::invokeMethod(
        this,
        [this, session, d = std::move(d)] {
            {
                std::lock_guard lock(mutex_);
                if (session != session_) return;
            }
            --pending_;
            if (d) d();
        },
        Qt::QueuedConnection);
}

void BackgroundDatabase::reportDamage(quint64 session)
{
    {
        std::lock_guard lock(mutex_);
        if (session != session_) return;
    }
    const QString path = path_;
    stop();
    damaged_(path);
}
