#pragma once
#include <QString>
#include <atomic>
#include <thread>

// Another workstation saving a document every few milliseconds, on a connection and in a thread
// of its own, from construction until stop(): a save that waits longer than `waitMs` for the
// file's lock fails.
class SavingElsewhere {
public:
    SavingElsewhere(const QString& path, const QString& haslo, int waitMs);
    ~SavingElsewhere() { stop(); }
    void stop();
    int made() const { return made_; }
    int failed() const { return failed_; }

private:
    std::atomic<bool> over_ = false;
    std::atomic<int> made_ = 0, failed_ = 0;
    std::thread thread_;
};

// Makes the file at least `megabytes` larger with rows nothing else reads, so that reading the
// whole of it takes a while.
void addBallast(const QString& path, const QString& haslo, int megabytes);
