#pragma once
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class App;
namespace db {
class Database;
}

// The program's second, background connection to its open database. It does two things: it
// watches the file for damage, and it reads what the window would otherwise wait for, so that no
// step the clerk waits for reads the whole file:
// - a statement of the program's connection that meets a damaged page;
// - the whole-file check, in a worker thread once the window is usable (after the reads queued
//   by the window), on a consistent copy of the file in the temporary folder (taken in short
//   pieces, see db::snapshotFile), so that it keeps no other workstation's save waiting;
// - reads queued by the window, on that connection too (the first side list).
// Findings and results are handed to the thread that made the watch. A queued read holds the
// file's read lock while it runs, which keeps writers waiting: when the program's own connection
// waits for a lock, the running read is stopped and runs again once the program has been quiet
// for a moment.
class BackgroundDatabase final : public QObject {
public:
    using Damaged = std::function<void(const QString& path)>;
    // `damaged` is called in this object's thread, once per watched connection.
    explicit BackgroundDatabase(Damaged damaged);
    ~BackgroundDatabase() override;

    // Watches `db`, the program's connection opened with `haslo`, unless it is watched already;
    // the connection watched before is let go. The whole-file check is queued; nothing runs
    // before start().
    void watch(db::Database& db, const QString& haslo);
    // Lets go of the watched connection: queued reads are dropped, a running one is stopped and
    // waited for, and nothing of it is delivered any more.
    void stop();

    // A read on the background connection, run from the next start(): runs in the worker thread
    // and gives what is to be done with its result in this object's thread (dropped when the
    // watch stopped meanwhile). A read that meets a damaged page reports the damage instead.
    // Nothing without a watched connection: false then.
    using Delivery = std::function<void()>;
    using Read = std::function<Delivery(db::Database&)>;
    bool read(Read r);
    // Runs what is queued (the window is usable now).
    void start();
    // Whether start() ran since the connection was watched: a read queued now may run at once.
    bool started() const { return started_; }

    // Tests and benchmarks: starts the worker and lets events run until every queued read and
    // the check have been delivered, at most `ms`. True when all was done.
    bool waitIdle(int ms);

private:
    struct Job {
        Read read;  // empty: the whole-file check
        int attempts = 0;
    };
    void run(quint64 session, QString path, QString haslo);
    bool takeJob(std::unique_lock<std::mutex>& lock, quint64 session, Job& job);
    void deliver(quint64 session, Delivery d);
    void reportDamage(quint64 session);
    void checkCopy(const QString& path, const QString& haslo);
    void writerWaits();

    Damaged damaged_;
    QString path_;
    QString password_;
    db::Database* watched_ = nullptr;  // only compared, never used: the connection may be gone
    std::vector<Job> held_;            // queued until the next start()
    int pending_ = 0;                  // queued or running jobs not yet delivered
    bool started_ = false;

    std::mutex mutex_;
    std::condition_variable wake_;
    quint64 session_ = 0;  // changes with every watched connection
    std::deque<Job> reads_;
    bool checkQueued_ = false;
    bool stopping_ = false;
    db::Database* running_ = nullptr;  // the connection a job runs on, while it runs
    bool runningShared_ = false;       // that connection reads the watched file itself
    std::atomic<bool> cancelCheck_ = false;
    bool interrupted_ = false;   // the running job was stopped for a writer
    qint64 lastWriterWait_ = 0;  // steady milliseconds
    std::thread worker_;
};
