#include "core/background_database.h"
#include "core/base_connect.h"
#include "support/saving_elsewhere.h"
#include "support/temp_database.h"
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>

namespace {

// A read in the background holds the file's read lock, which keeps every writer waiting: the
// program's own save does not wait for it (the read is stopped and runs again later).
TEST(BackgroundDatabase, TheProgramsOwnWritingNeverWaitsForABackgroundRead)
{
    TempDatabase t;
    BackgroundDatabase& watch = backgroundDatabase(t.app);
    std::atomic<int> runs = 0;
    std::atomic<bool> reading = false;
    bool delivered = false;
    watch.read([&](db::Database& d) -> BackgroundDatabase::Delivery {
        if (++runs == 1) {
            reading = true;
            // Reads for as long as it is let: the documents' table keeps the file's read lock.
            d.scalar("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 4000000000) "
                     "SELECT count(*) FROM c, (SELECT count(*) FROM fadok)");
        }
        return [&] { delivered = true; };
    });
    watch.start();
    QElapsedTimer waited;
    waited.start();
    while (!reading && waited.elapsed() < 5000) QThread::msleep(5);
    ASSERT_TRUE(reading);
    QThread::msleep(100);

    QElapsedTimer saving;
    saving.start();
    EXPECT_NO_THROW(t.db().execute("INSERT INTO fadok (Numer) VALUES ('1/05/2024')"));
    EXPECT_LT(saving.elapsed(), 1000);

    EXPECT_TRUE(watch.waitIdle(10000));
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(delivered);
}

// The whole-file check of a protected file reads a copy taken in short pieces: another
// workstation saving all the while never waits long for it, and the check still finishes.
TEST(BackgroundDatabase, AnotherWorkstationsSavesDuringTheCheckAreNeverHeldForLong)
{
    TempDatabase t;
    t.db().changePassword("tajne");
    t.app.gBazaHaslo = "tajne";
    addBallast(t.path, "tajne", 200);
    bool damaged = false;
    BackgroundDatabase watch([&](const QString&) { damaged = true; });
    watch.watch(t.db(), "tajne");
    SavingElsewhere other(t.path, "tajne", 1000);  // the bound a save may wait
    EXPECT_TRUE(watch.waitIdle(60000));
    other.stop();
    EXPECT_FALSE(damaged);
    EXPECT_GT(other.made(), 0);
    EXPECT_EQ(other.failed(), 0);
}

}  // namespace
