#include "documents/save.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>

// Workstations in processes of their own, saving into one database file. The parent test starts
// this same test program filtered to SaveWorker.Run, which does the saving when the environment
// names a database.

namespace {

constexpr int kRows = 5;

// Stores document `n` of workstation `stan`: kRows rows whose names carry the document's mark,
// which the header keeps in Uwagi, so that a half-stored document shows.
bool saveOne(App& app, int stan, int n, const EditState& state, const QString& numer)
{
    const QString mark = QStringLiteral("S%1-%2").arg(stan).arg(n);
    std::vector<TypedRow> rows;
    for (int k = 1; k <= kRows; ++k)
        rows.push_back({mark + "/" + QString::number(k), QString::number(k), "kg", "10", "7"});
    DocHeader h = invoiceHeader(numer);
    h.Uwagi = mark;
    bufferDocument(app, h, rows);
    return ZapiszDokument(app, state, [](const QString&) { return false; }).ok;
}

QProcess* startWorker(const QString& path, int stan, int count, QObject* parent)
{
    auto* p = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ROLKWIT_SAVE_WORKER_DB", path);
    env.insert("ROLKWIT_SAVE_WORKER_STAN", QString::number(stan));
    env.insert("ROLKWIT_SAVE_WORKER_COUNT", QString::number(count));
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->start(QCoreApplication::applicationFilePath(), {"--gtest_filter=SaveWorker.Run", "--gtest_brief=1"});
    return p;
}

// Every stored document whole: its kRows rows all carry the header's mark, and no row is left
// without its header.
void expectWholeDocuments(db::Database& db)
{
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fadok d WHERE (SELECT count(*) FROM fapoz p WHERE p.Numer = d.Numer "
                        "AND substr(p.Nazwa, 1, length(d.Uwagi) + 1) = d.Uwagi || '/') <> 5")
                  .toInt(),
              0);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fapoz p WHERE NOT EXISTS (SELECT 1 FROM fadok d WHERE d.Numer = p.Numer)")
                  .toInt(),
              0);
}

}  // namespace

TEST(SaveWorker, Run)
{
    const QString path = qEnvironmentVariable("ROLKWIT_SAVE_WORKER_DB");
    if (path.isEmpty()) GTEST_SKIP() << "started by the save process tests only";
    const int stan = qEnvironmentVariableIntValue("ROLKWIT_SAVE_WORKER_STAN");
    const int count = qEnvironmentVariableIntValue("ROLKWIT_SAVE_WORKER_COUNT");
    App app;
    // A workstation that saves without pause can keep the file locked past the short wait for an
    // opening; this test is about saving, so the opening waits as long as a statement.
    db::OpenOptions options;
    options.busyTimeoutMs = options.openTimeoutMs = 30000;
    app.gBaseDb = db::Database::open(path, QString(), options);
    app.gBazaOtwarta = true;
    app.gStanowisko = stan;
    app.gBazaPar.NumSzablon = QStringLiteral("Numer/Miesiąc/Rok[4]");
    app.gBazaPar.NumAuto = true;
    app.gBazaPar.NumEdycja = false;  // the number is taken at the moment of saving
    for (int n = 1; count == 0 || n <= count; ++n) {
        // Without a count the worker runs until it is killed, re-saving its first document too.
        ASSERT_TRUE(saveOne(app, stan, n, {}, QStringLiteral("?")));
        if (count == 0) {
            QString first =
                app.gBaseDb->scalar("SELECT Numer FROM fadok WHERE Stanowisko = ? ORDER BY rowid LIMIT 1", {stan})
                    .toText();
            auto id = storedIdentityOf(*app.gBaseDb, first);
            ASSERT_TRUE(id);
            ASSERT_TRUE(saveOne(app, stan, -n, EditState::of(app, first, *id), first));
        }
    }
}

TEST(SaveProcesses, TwoWorkstationsSavingAtOnceKeepEveryDocument)
{
    TempDatabase t;
    const int count = 25;
    QObject owner;
    QProcess* a = startWorker(t.path, 1, count, &owner);
    QProcess* b = startWorker(t.path, 2, count, &owner);
    for (QProcess* p : {a, b}) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), 0);
    }
    auto& db = t.db();
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fadok WHERE Stanowisko = 1").toInt(), count);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fadok WHERE Stanowisko = 2").toInt(), count);
    EXPECT_EQ(db.scalar("SELECT count(DISTINCT Numer) FROM fadok").toInt(), 2 * count);
    EXPECT_EQ(db.scalar("SELECT max(Val(Numer)) FROM fadok").toInt(), 2 * count);
    expectWholeDocuments(db);
}

TEST(SaveProcesses, KilledInTheMiddleOfSavingLeavesWholeDocuments)
{
    TempDatabase t;
    QObject owner;
    for (int round = 0; round < 4; ++round) {
        QProcess* p = startWorker(t.path, 1, 0, &owner);
        ASSERT_TRUE(p->waitForStarted());
        QThread::msleep(300 + QRandomGenerator::global()->bounded(400));
        p->kill();
        p->waitForFinished();
        // Opening the file again rolls back whatever the killed save left unfinished.
        auto db = db::Database::open(t.path);
        expectWholeDocuments(*db);
    }
    EXPECT_GT(t.db().scalar("SELECT count(*) FROM fadok").toInt(), 0);
}
