#pragma once
#include "platform/database.h"
#include "support/other_process.h"
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <functional>
#include <thread>

namespace bench {

// Another workstation, a process of its own (the sqlcipher shell), saving a document every 50 ms
// while `step` runs here: its longest save, the saves made and stored, and the step's duration.
struct Saves {
    double longestMs = 0;
    int made = 0;
    int stored = 0;
    double stepMs = 0;
};

inline Saves savingDuring(const QString& path, const QString& haslo, const std::function<void()>& step)
{
    static int numbers = 0;
    const int first = numbers;
    Saves saves;
    std::atomic<bool> ready = false, over = false, failed = false;
    std::thread other([&] {
        // Its first statement derives the key and reads the schema: made before the step.
        OtherProcess p(path, QStringLiteral(".timeout 5000\nSELECT count(*) FROM fadok WHERE Numer = 'x';"), haslo);
        failed = !p.ready();
        ready = true;
        while (!failed && !over) {
            QElapsedTimer save;
            save.start();
            p.run(QStringLiteral("BEGIN IMMEDIATE; INSERT INTO fadok (Numer) VALUES ('inny-%1'); COMMIT;")
                      .arg(numbers++));
            saves.longestMs = std::max(saves.longestMs, double(save.nsecsElapsed()) / 1e6);
            ++saves.made;
            QThread::msleep(50);
        }
    });
    while (!ready) QThread::msleep(5);
    QElapsedTimer clock;
    clock.start();
    step();
    saves.stepMs = double(clock.nsecsElapsed()) / 1e6;
    over = true;
    other.join();
    if (failed) return saves;
    saves.stored = int(db::Database::open(path, haslo)
                           ->scalar("SELECT count(*) FROM fadok WHERE Numer LIKE 'inny-%' AND "
                                    "CAST(substr(Numer, 6) AS INTEGER) >= ?",
                                    {first})
                           .toInt());
    return saves;
}

}  // namespace bench
