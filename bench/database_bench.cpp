// Opening a filled database as start-up and the "Otwórz" menu do (the check, then the connect),
// plain and protected, beside the engine's own opening of the same file; the whole-file check
// that follows in the background beside the engine's own check; another workstation's save
// during that check and during a backup, beside the same save with nobody else on the file and
// during the engine's own whole-file step; a file damaged inside, from the opening to its one
// message; and changing the password.
#include "bench_fill.h"
#include "core/background_database.h"
#include "core/base_connect.h"
#include "core/base_files.h"
#include "other_workstation.h"
#include "support/damaged_file.h"
#include "support/scoped_responder.h"
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlcipher/sqlite3.h>
#include <thread>

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
// work with `sql` in the same round, and its `other` statement when given (counted under its
// name); the database is let go after each round.
struct OtherRaw {
    const char* name = nullptr;
    const char* sql = nullptr;
};
template <class Step>
void compare(benchmark::State& state, const QString& haslo, const char* sql, int flags, Step step, OtherRaw other = {})
{
    bench::FilledDatabase& t = filled(haslo);
    double program = 0, raw = 0, otherRaw = 0;
    int n = 0;
    for (auto _ : state) {
        raw += rawEngine(t.path, haslo, sql, flags);
        if (other.sql) otherRaw += rawEngine(t.path, haslo, other.sql, flags);
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
    if (other.sql) state.counters[other.name] = otherRaw / n;
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
// engine's own full check of the file and its quick check (every page, no index compared with
// its table).
void backgroundCheck(benchmark::State& state, const QString& haslo)
{
    compare(state, haslo, "PRAGMA integrity_check(1)", SQLITE_OPEN_READONLY,
            [](App& app, const QString& path) {
                if (!BaseConnect(app, path)) return false;
                return backgroundDatabase(app).waitIdle(600000) && app.gBazaOtwarta;
            },
            {"raw quick_check ms", "PRAGMA quick_check(1)"});
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

// The engine alone running `sql` on the whole file (the step as it was before: one read lock),
// waiting for a commit elsewhere as the program does.
void rawWholeFile(const QString& path, const QString& haslo, const char* sql)
{
    sqlite3* h = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &h, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray key = haslo.toUtf8();
    if (!key.isEmpty()) sqlite3_key(h, key.constData(), key.size());
    sqlite3_busy_timeout(h, 5000);
    if (sqlite3_exec(h, sql, nullptr, nullptr, nullptr) != SQLITE_OK) std::fprintf(stderr, "raw step failed\n");
    sqlite3_close(h);
}

// The engine's own copy of the whole file in one step (one read lock for all of it).
void rawBackup(const QString& path, const QString& haslo, const QString& destination)
{
    QFile::remove(destination);
    sqlite3 *in = nullptr, *out = nullptr;
    const QByteArray key = haslo.toUtf8();
    sqlite3_open_v2(QFile::encodeName(path).constData(), &in, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_open_v2(QFile::encodeName(destination).constData(), &out, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                    nullptr);
    if (!key.isEmpty()) {
        sqlite3_key(in, key.constData(), key.size());
        sqlite3_key(out, key.constData(), key.size());
    }
    sqlite3_busy_timeout(in, 5000);
    sqlite3_backup* b = sqlite3_backup_init(out, "main", in, "main");
    int rc = SQLITE_ERROR;
    if (b) {
        while ((rc = sqlite3_backup_step(b, -1)) == SQLITE_BUSY) sqlite3_sleep(20);
        sqlite3_backup_finish(b);
    }
    if (rc != SQLITE_DONE) std::fprintf(stderr, "raw copy failed\n");
    sqlite3_close(out);
    sqlite3_close(in);
    QFile::remove(destination);
}

// The other workstation's longest save with nobody else on the file, during the program's step
// and during the engine's own whole-file step, and the two steps' durations.
void saveWaits(benchmark::State& state, const QString& haslo, const std::function<void(App&, const QString&)>& step,
               const std::function<void(const QString&)>& raw)
{
    bench::FilledDatabase& t = filled(haslo);
    for (auto _ : state) {
        const bench::Saves alone = bench::savingDuring(t.path, haslo, [] { QThread::msleep(1000); });
        const bench::Saves program = bench::savingDuring(t.path, haslo, [&] { step(t.app, t.path); });
        BaseDisconnect(t.app);
        const bench::Saves engine = bench::savingDuring(t.path, haslo, [&] { raw(t.path); });
        state.SetIterationTime(program.stepMs / 1000);
        state.counters["save alone ms"] = alone.longestMs;
        state.counters["save during ms"] = program.longestMs;
        state.counters["saves"] = program.made;
        state.counters["stored"] = program.stored;
        state.counters["step ms"] = program.stepMs;
        state.counters["raw ms"] = engine.stepMs;
        state.counters["x raw"] = engine.stepMs > 0 ? program.stepMs / engine.stepMs : 0;
        state.counters["save during raw ms"] = engine.longestMs;
        state.counters["raw saves"] = engine.made;
        state.counters["raw stored"] = engine.stored;
        if (alone.made == 0) state.SkipWithError("the sqlcipher shell is needed to play another workstation");
    }
}

// The whole-file check after opening (from the connect to its finding delivered), beside the
// engine's `PRAGMA quick_check` of the whole file.
void saveDuringCheck(benchmark::State& state, const QString& haslo)
{
    saveWaits(
        state, haslo,
        [](App& app, const QString& path) {
            if (BaseConnect(app, path)) backgroundDatabase(app).waitIdle(600000);
        },
        [&](const QString& path) { rawWholeFile(path, haslo, "PRAGMA quick_check(1)"); });
}

// The backup's copy and its check of the copy, the program's connection open, beside the
// engine's whole-file copy (`sqlite3_backup` in one step).
void saveDuringBackup(benchmark::State& state, const QString& haslo)
{
    saveWaits(
        state, haslo,
        [](App& app, const QString& path) {
            if (BaseConnect(app, path)) copyDatabase(app, path, path + QStringLiteral(".kopia"));
            QFile::remove(path + QStringLiteral(".kopia"));
        },
        [&](const QString& path) { rawBackup(path, haslo, path + QStringLiteral(".kopia")); });
}

BENCHMARK_CAPTURE(saveDuringCheck, Plain, QString())->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK_CAPTURE(saveDuringCheck, Protected, kHaslo)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK_CAPTURE(saveDuringBackup, Plain, QString())->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK_CAPTURE(saveDuringBackup, Protected, kHaslo)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

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
        backgroundDatabase(t.app).start();
        backgroundDatabase(t.app).waitIdle(600000);
        state.SetIterationTime(toMessage / 1000);
        if (t.app.gBazaOtwarta || r.seen.size() != 1) state.SkipWithError("damage not found");
    }
    state.counters["messages"] = double(r.seen.size());
    state.counters["unchanged after it"] = digest(t.path) == atMessage;
}
BENCHMARK(BM_DamagedFileRefused)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// Setting a password on the filled database and removing it again, as the properties dialog does:
// each change rewrites the whole file under the new key while holding it exclusively; beside it
// the engine's own rewrite of the same file (export into a new file under the other key, renamed
// over the file), in the same run.
void rawRekey(const QString& path, const QString& from, const QString& to)
{
    const QString tmp = path + QStringLiteral(".raw");
    sqlite3* h = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &h, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const QByteArray key = from.toUtf8();
    if (!key.isEmpty()) sqlite3_key(h, key.constData(), key.size());
    const QByteArray sql = QStringLiteral("ATTACH DATABASE '%1' AS nowa KEY '%2'; SELECT sqlcipher_export('nowa'); "
                                          "DETACH DATABASE nowa;")
                               .arg(tmp, to)
                               .toUtf8();
    if (sqlite3_exec(h, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        std::fprintf(stderr, "raw rewrite failed: %s\n", sqlite3_errmsg(h));
    sqlite3_close(h);
    std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData());
}

void BM_PasswordSetAndRemove(benchmark::State& state)
{
    bench::FilledDatabase t;
    t.app.gBaseDb.reset();
    double program = 0, raw = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        {
            auto d = db::Database::open(t.path, QString(), {.exclusive = true});
            d->changePassword(kHaslo);
            d->changePassword(QString());
        }
        program += msSince(clock);
        clock.start();
        rawRekey(t.path, QString(), kHaslo);
        rawRekey(t.path, kHaslo, QString());
        raw += msSince(clock);
    }
    state.counters["MB"] = double(QFileInfo(t.path).size()) / 1048576.0;
    state.counters["program ms"] = program / double(state.iterations());
    state.counters["raw ms"] = raw / double(state.iterations());
    state.counters["x raw"] = raw > 0 ? program / raw : 0;
}
BENCHMARK(BM_PasswordSetAndRemove)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
