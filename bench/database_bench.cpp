// Opening a filled database as start-up and the "Otwórz" menu do (the check, then the connect),
// plain and protected, beside the engine's own opening of the same file; the whole-file check
// that follows in the background beside the engine's own check; a file damaged inside, from the
// opening to its one message; and changing the password.
#include "bench_fill.h"
#include "core/base_connect.h"
#include "core/database_watch.h"
#include "support/damaged_file.h"
#include "support/scoped_responder.h"
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

namespace {

const QString kHaslo = QStringLiteral("tajne");

double msSince(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// The engine alone, on a connection of its own: open the file, give the key, run `sql`, close.
double rawEngine(const QString& path, const QString& haslo, const char* sql, int flags)
{
    QElapsedTimer t;
    t.start();
    sqlite3* h = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &h, flags, nullptr);
    const QByteArray key = haslo.toUtf8();
    if (!key.isEmpty()) sqlite3_key(h, key.constData(), key.size());
    sqlite3_exec(h, sql, nullptr, nullptr, nullptr);
    sqlite3_close(h);
    return msSince(t);
}

// One filled copy per password for the whole run, not connected.
bench::FilledDatabase& filled(const QString& haslo)
{
    bench::FilledDatabase& t = haslo.isEmpty() ? BENCH_FILLED_ONCE() : BENCH_FILLED_ONCE(kHaslo);
    BaseDisconnect(t.app);
    t.app.gBaseDb.reset();
    t.app.gBazaHaslo = haslo;
    return t;
}

// Rounds of the program's `step` (the time counted), each beside the engine's doing the same
// work with `sql` in the same round; the database is let go after each round.
template <class Step>
void compare(benchmark::State& state, const QString& haslo, const char* sql, int flags, Step step)
{
    bench::FilledDatabase& t = filled(haslo);
    double program = 0, raw = 0;
    int n = 0;
    for (auto _ : state) {
        raw += rawEngine(t.path, haslo, sql, flags);
        QElapsedTimer clock;
        clock.start();
        if (!step(t.app, t.path)) state.SkipWithError("failed");
        const double ms = msSince(clock);
        state.SetIterationTime(ms / 1000);
        program += ms;
        ++n;
        BaseDisconnect(t.app);
    }
    state.counters["program ms"] = program / n;
    state.counters["raw ms"] = raw / n;
    state.counters["x raw"] = raw > 0 ? program / raw : 0;
}

QByteArray digest(const QString& path)
{
    QFile f(path);
    QCryptographicHash h(QCryptographicHash::Sha1);
    if (f.open(QIODevice::ReadOnly)) h.addData(&f);
    return h.result();
}

// The check and the connect of start-up, beside the engine's opening (the schema read, which
// proves the key).
void openAndCheck(benchmark::State& state, const QString& haslo)
{
    PasswordPrompt prompt = [](const QString&) { return std::nullopt; };
    compare(state, haslo, "SELECT count(*) FROM sqlite_master", SQLITE_OPEN_READWRITE,
            [&](App& app, const QString& path) { return checkAndConnect(app, path, prompt, haslo); });
}

void BM_OpenAndCheck_Plain(benchmark::State& state)
{
    openAndCheck(state, QString());
}
void BM_OpenAndCheck_Protected(benchmark::State& state)
{
    openAndCheck(state, kHaslo);
}
BENCHMARK(BM_OpenAndCheck_Plain)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(50);
BENCHMARK(BM_OpenAndCheck_Protected)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

// The whole-file check in the background, from the connect to its finding delivered, beside the
// engine's own check of the file.
void backgroundCheck(benchmark::State& state, const QString& haslo)
{
    compare(state, haslo, "PRAGMA quick_check(1)", SQLITE_OPEN_READONLY, [](App& app, const QString& path) {
        if (!BaseConnect(app, path)) return false;
        return watchDatabase(app).waitIdle(600000) && app.gBazaOtwarta;
    });
}

void BM_BackgroundCheck_Plain(benchmark::State& state)
{
    backgroundCheck(state, QString());
}
void BM_BackgroundCheck_Protected(benchmark::State& state)
{
    backgroundCheck(state, kHaslo);
}
BENCHMARK(BM_BackgroundCheck_Plain)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_BackgroundCheck_Protected)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// A copy damaged inside: the opening accepts it (it reads a few pages) and the background check
// finds the damage; the time from the opening to the one message, and that nothing was written
// to the file after it.
void BM_DamagedFileRefused(benchmark::State& state)
{
    bench::FilledDatabase t;
    t.app.gBaseDb.reset();
    t.app.gBazaOtwarta = false;
    overwriteFile(t.path, QFileInfo(t.path).size() / 2, QByteArray(64 * 1024, '\xff'));
    ScopedResponder r;
    QElapsedTimer clock;
    double toMessage = 0;
    QByteArray atMessage;
    r.answer = [&](const ui::Message&) {
        toMessage = msSince(clock);
        atMessage = digest(t.path);
        return ui::Answer::Ok;
    };
    PasswordPrompt prompt = [](const QString&) { return std::nullopt; };
    for (auto _ : state) {
        r.seen.clear();
        clock.start();
        if (!checkAndConnect(t.app, t.path, prompt, QString())) state.SkipWithError("refused at opening");
        watchDatabase(t.app).start();
        watchDatabase(t.app).waitIdle(600000);
        state.SetIterationTime(toMessage / 1000);
        if (t.app.gBazaOtwarta || r.seen.size() != 1) state.SkipWithError("damage not found");
    }
    state.counters["messages"] = double(r.seen.size());
    state.counters["unchanged after it"] = digest(t.path) == atMessage;
}
BENCHMARK(BM_DamagedFileRefused)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// Setting a password on the filled database and removing it again, as the properties dialog does:
// each change rewrites the whole file under the new key while holding it exclusively.
void BM_PasswordSetAndRemove(benchmark::State& state)
{
    bench::FilledDatabase t;
    t.app.gBaseDb.reset();
    auto d = db::Database::open(t.path, QString(), {.exclusive = true});
    for (auto _ : state) {
        d->changePassword(kHaslo);
        d->changePassword(QString());
    }
    state.counters["MB"] = double(QFileInfo(t.path).size()) / 1048576.0;
}
BENCHMARK(BM_PasswordSetAndRemove)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
