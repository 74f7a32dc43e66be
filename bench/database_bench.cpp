// Opening and checking a database of 100 000 documents, as start-up and the "Otwórz" menu do, and
// changing its password.
#include "core/base_connect.h"
#include "support/temp_database.h"
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// One database of 100 000 invoices with two positions each, built once per password.
TempDatabase& bigDatabase(const QString& haslo)
{
    static std::map<QString, std::unique_ptr<TempDatabase>> made;
    auto& t = made[haslo];
    if (t) return *t;
    t = std::make_unique<TempDatabase>();
    db::Database& d = t->db();
    db::Transaction tr(d);
    db::Statement doc(
        d, "INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Nazkon, RazNetto, RazVAT, RazBrutto, DoZaplaty) "
           "VALUES (0, 'FR', ?, ?, ?, ?, 0, ?, ?)");
    db::Statement poz(
        d,
        "INSERT INTO fapoz (Stanowisko, Inddok, Numer, Pozycja, Korekta, Nazwa, Ilosc, Cenanet, WartNetto, WartBrutto) "
        "VALUES (0, 'FR', ?, ?, 0, 'Pszenica', ?, ?, ?, ?)");
    for (int i = 0; i < 100000; ++i) {
        QString numer = QStringLiteral("%1/%2/%3").arg(i % 900 + 1).arg(i / 900 % 12 + 1).arg(2000 + i / 10800);
        QDate data(2000 + i / 10800, i / 900 % 12 + 1, i % 28 + 1);
        Decimal kwota = Decimal::fromUnits(qint64(i) * 1237);
        doc.bindAll({numer, data, QStringLiteral("Rolnik %1").arg(i % 5000), kwota, kwota, kwota});
        doc.step();
        doc.reset();
        for (int p = 1; p <= 2; ++p) {
            poz.bindAll({numer, p, Decimal(10), kwota, kwota, kwota});
            poz.step();
            poz.reset();
        }
    }
    tr.commit();
    if (!haslo.isEmpty()) d.changePassword(haslo);
    t->app.gBaseDb.reset();
    t->app.gBazaOtwarta = false;
    return *t;
}

void openAndCheck(benchmark::State& state, const QString& haslo)
{
    TempDatabase& t = bigDatabase(haslo);
    PasswordPrompt prompt = [](const QString&) { return std::nullopt; };
    for (auto _ : state) {
        QString h = haslo;
        bool readOnly = false;
        if (!BaseCheck(t.app, t.path, h, readOnly, prompt)) state.SkipWithError("check failed");
        t.app.gBazaHaslo = h;
        if (!BaseConnect(t.app, t.path)) state.SkipWithError("connect failed");
        BaseDisconnect(t.app);
    }
}

void BM_OpenAndCheck_Plain(benchmark::State& state)
{
    openAndCheck(state, QString());
}
void BM_OpenAndCheck_Encrypted(benchmark::State& state)
{
    openAndCheck(state, QStringLiteral("tajne"));
}

// Setting a password on the big database and removing it again, as the properties dialog does:
// each change rewrites the whole file under the new key while holding it exclusively.
void BM_PasswordSetAndRemove(benchmark::State& state)
{
    TempDatabase& big = bigDatabase(QString());
    QTemporaryDir dir;
    const QString path = dir.filePath("Haslo.mdb");
    QFile::copy(big.path, path);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    auto d = db::Database::open(path, QString(), {.exclusive = true});
    for (auto _ : state) {
        d->changePassword(QStringLiteral("tajne"));
        d->changePassword(QString());
    }
    state.counters["MB"] = double(QFileInfo(path).size()) / 1048576.0;
}

BENCHMARK(BM_OpenAndCheck_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasswordSetAndRemove)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenAndCheck_Encrypted)->Unit(benchmark::kMillisecond);

}  // namespace
