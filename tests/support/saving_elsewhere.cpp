#include "support/saving_elsewhere.h"
#include "platform/database.h"
#include <QThread>

SavingElsewhere::SavingElsewhere(const QString& path, const QString& haslo, int waitMs)
{
    auto db = db::Database::open(path, haslo, {.busyTimeoutMs = waitMs});
    thread_ = std::thread([this, db = std::shared_ptr<db::Database>(std::move(db))] {
        while (!over_) {
            try {
                db::Transaction tr(*db);
                db->execute("INSERT INTO fadok (Numer) VALUES (?)", {QStringLiteral("inny-%1").arg(made_.load())});
                tr.commit();
            } catch (const AppError&) {
                ++failed_;
            }
            ++made_;
            QThread::msleep(3);
        }
    });
}

void SavingElsewhere::stop()
{
    over_ = true;
    if (thread_.joinable()) thread_.join();
}

void addBallast(const QString& path, const QString& haslo, int megabytes)
{
    db::Database::open(path, haslo)
        ->executeScript(QStringLiteral("CREATE TABLE IF NOT EXISTS ballast (v); WITH RECURSIVE c(i) AS (SELECT 1 "
                                       "UNION ALL SELECT i + 1 FROM c WHERE i < %1) INSERT INTO ballast SELECT "
                                       "randomblob(1000) FROM c;")
                            .arg(megabytes * 1000));
}
