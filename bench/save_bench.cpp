// Saving a document of 50 positions into the filled documents, numbered at the moment of saving,
// dated in the newest month and in an old one: the save's CPU time beside the same statements
// run by the raw engine, each prepared once as the program does (commit included); the document list refreshed after it
// (a list read anew before each save, so the old month is not read yet: counted while idle, read anew after another
// workstation's save, or the first list of a window) beside one indexed read of the saved row;
// the rows the list then holds and the process's resident memory. Thirty saves a run, each taken
// out again afterwards, so that every save meets the month as it was filled. Also the list read
// anew, as on attaching.
#include "bench_fill.h"
#include "core/base_par.h"
#include "documents/deletion.h"
#include "documents/document_list.h"
#include "documents/save.h"
#include "editor/document_editing.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include "paired.h"
#include "raw_engine.h"
#include "register/register_columns.h"
#include "register/register_page.h"
#include "support/answers.h"
#include "support/document_fixture.h"
#include "support/editing_window.h"
#include "support/test_settings.h"
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTableWidget>
#include <benchmark/benchmark.h>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <sqlcipher/sqlite3.h>

namespace {

// The process's resident memory in megabytes.
double residentMb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? double(fields[1].toLongLong()) * 4096 / (1024.0 * 1024.0) : 0;
}

// The stored document `numer` taken out again.
void undoSave(db::Database& db, const QString& numer)
{
    db::Transaction undo(db);
    deleteStoredDocument(db, numer);
    undo.commit();
}

// The values a statement was run with, read back from its text with the values written in
// (sqlite3_expanded_sql) beside its text with the parameters: numbers, quoted texts and NULL.
std::vector<db::Value> boundValues(const QByteArray& withParameters, const QByteArray& expanded)
{
    std::vector<db::Value> values;
    qsizetype j = 0;
    for (qsizetype i = 0; i < withParameters.size() && j < expanded.size(); ++i) {
        const char c = withParameters[i];
        if (c == '\'' || c == '"') {  // a quoted part of the statement itself, the same in both
            const qsizetype end = withParameters.indexOf(c, i + 1);
            const qsizetype length = (end < 0 ? withParameters.size() : end + 1) - i;
            i += length - 1;
            j += length;
            continue;
        }
        if (c != '?') {
            ++j;
            continue;
        }
        while (i + 1 < withParameters.size() && std::isdigit(static_cast<unsigned char>(withParameters[i + 1]))) ++i;
        if (expanded[j] == '\'') {
            QByteArray text;
            for (++j; j < expanded.size(); ++j) {
                if (expanded[j] == '\'' && (j + 1 >= expanded.size() || expanded[j + 1] != '\'')) break;
                if (expanded[j] == '\'') ++j;
                text += expanded[j];
            }
            ++j;
            values.emplace_back(QString::fromUtf8(text));
        } else if (expanded.mid(j, 4) == "NULL") {
            j += 4;
            values.emplace_back();
        } else {
            qsizetype end = j;
            while (end < expanded.size() && std::strchr("0123456789+-.eE", expanded[end])) ++end;
            const QByteArray number = expanded.mid(j, end - j);
            j = end;
            if (number.contains('.') || number.contains('e') || number.contains('E'))
                values.emplace_back(number.toDouble());
            else
                values.emplace_back(qint64(number.toLongLong()));
        }
    }
    return values;
}

// The statements a connection runs, each with the values it was run with, while it is recording.
class Recorder {
public:
    explicit Recorder(db::Database& db) : db_(db)
    {
        sqlite3_trace_v2(db.handle(), SQLITE_TRACE_STMT, &Recorder::seen, this);
    }
    ~Recorder() { sqlite3_trace_v2(db_.handle(), 0, nullptr, nullptr); }
    void start()
    {
        statements_.clear();
        on_ = true;
    }
    void stop() { on_ = false; }
    // The recorded statements run again by the raw engine in a writer transaction of their own,
    // after the document they stored was taken out again: the same work on the same file,
    // commit included. As the program does, each statement is prepared once and stepped with
    // the values of each run (the 50 position inserts are one statement stepped 50 times).
    // Gives the CPU milliseconds of the run.
    double replay(const QString& numer)
    {
        sqlite3* h = db_.handle();
        undoSave(db_, numer);
        std::vector<std::vector<db::Value>> values;
        for (const Run& r : statements_) values.push_back(boundValues(r.sql, r.expanded));
        std::map<QByteArray, sqlite3_stmt*> prepared;
        db_.releaseCache();  // from an empty page cache, as the program's save
        const double start = bench::milliseconds(bench::Clock::Cpu);
        sqlite3_exec(h, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (size_t i = 0; i < statements_.size(); ++i) {
            sqlite3_stmt*& st = prepared[statements_[i].sql];
            if (!st)
                sqlite3_prepare_v2(h, statements_[i].sql.constData(), int(statements_[i].sql.size()), &st, nullptr);
            if (!st) continue;
            sqlite3_reset(st);
            sqlite3_clear_bindings(st);
            bench::bindRaw(st, values[i]);
            while (sqlite3_step(st) == SQLITE_ROW) {}
        }
        sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
        for (auto& [sql, st] : prepared) sqlite3_finalize(st);
        return bench::milliseconds(bench::Clock::Cpu) - start;
    }

private:
    struct Run {
        QByteArray sql;       // as prepared, with its parameters
        QByteArray expanded;  // with the values of this run written in
    };

    static int seen(unsigned, void* self, void* stmt, void*)
    {
        auto* r = static_cast<Recorder*>(self);
        if (!r->on_) return 0;
        auto* st = static_cast<sqlite3_stmt*>(stmt);
        char* sql = sqlite3_expanded_sql(st);
        const QByteArray text(sql ? sql : "");
        sqlite3_free(sql);
        // The save's own transaction is the replay's.
        const QByteArray word = text.trimmed().left(6).toUpper();
        if (word != "BEGIN " && word != "COMMIT" && word != "ROLLBA") r->statements_.push_back({sqlite3_sql(st), text});
        return 0;
    }

    db::Database& db_;
    std::vector<Run> statements_;
    bool on_ = false;
};

// The entry page over a filled copy, shown, numbered at the moment of saving.
struct Saving {
    bench::FilledDatabase& t;
    Answers answers;
    EntryPage page;
    DocumentEditing editing;

    explicit Saving(bench::FilledDatabase& filled) : t(filled), page(filled.app), editing(filled.app, &page)
    {
        bench::numberedAtSave(t.app);
        page.resize(1280, 800);
        page.show();
        editing.lista()->OdswiezListeDokumentow(QString());
        QApplication::processEvents();
    }
};

// What the list went through before the save.
enum class Before {
    Idle,              // open for a moment: it counted the rest of the documents while idle
    OtherWorkstation,  // that, then another workstation stored a document: the list is read anew
    FirstReading,      // a window just made, its list just read: nothing counted yet
};

void BM_Save(benchmark::State& state, QDate (*day)(), Before before)
{
    // Each expansion of the macro is a copy of its own, so that one case's saves never fill the
    // month another case saves into.
    bench::FilledDatabase& t = day == bench::newestMonthDay         ? BENCH_FILLED_ONCE()
                               : before == Before::Idle             ? BENCH_FILLED_ONCE()
                               : before == Before::OtherWorkstation ? BENCH_FILLED_ONCE()
                                                                    : BENCH_FILLED_ONCE();
    std::optional<Saving> s;
    s.emplace(t);
    std::unique_ptr<db::Database> other;
    if (before == Before::OtherWorkstation) other = db::Database::open(t.path);
    static int othersSaved = 0;  // the other workstation's numbers, over every run of the case
    bench::bufferFifty(t.app, day());
    Recorder recorder(t.db());
    bench::Paired paired(state, bench::Clock::Cpu);
    double listMs = 0, listRawMs = 0;
    int runs = 0;
    for (auto _ : state) {
        if (before == Before::FirstReading) {
            s.reset();
            s.emplace(t);
        } else {
            s->editing.lista()->OdswiezListeDokumentow(QString());
            s->page.lstDokRows()->countRest();
        }
        if (other)
            other->execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst) VALUES (1, 'FR', ?, ?)",
                           {QStringLiteral("%1/inny").arg(++othersSaved), bench::newestMonthDay()});
        // The save and its replay each start from an empty page cache, as after the list's idle
        // count: the undo before the replay would have left it every page the save needs.
        t.db().releaseCache();
        SaveResult r;
        paired.program([&] { r = saveBuffered(t.app); });
        if (!r.ok) {
            state.SkipWithError(("not saved: " + s->answers.last()).toUtf8().constData());
            break;
        }
        // The statements are recorded in a save of their own, untimed: recording costs more than
        // some of them. The document is taken out first, so that it saves under the same number.
        undoSave(t.db(), r.numer);
        recorder.start();
        r = saveBuffered(t.app);
        recorder.stop();
        // The replay does the save's work: the document stored again as the save stored it.
        auto stored = [&] {
            return t.db()
                .scalar("SELECT group_concat(Pozycja || '|' || Nazwa || '|' || Ilosc || '|' || Cenanet || '|' || "
                        "WartBrutto, ';') FROM (SELECT * FROM fapoz WHERE Numer = ? ORDER BY Pozycja)",
                        {r.numer})
                .toText();
        };
        const QString saved = stored();
        paired.addRaw(recorder.replay(r.numer));
        if (saved.count(QLatin1Char(';')) != 49 || stored() != saved)
            state.SkipWithError("the raw engine's replay did not store the document as the save did");
        double start = bench::milliseconds(bench::Clock::Wall);
        s->editing.lista()->OdswiezListeDokumentow(r.numer);
        s->page.lstDok()->viewport()->repaint();
        QApplication::processEvents();
        listMs += bench::milliseconds(bench::Clock::Wall) - start;
        start = bench::milliseconds(bench::Clock::Wall);
        bench::runRaw(t.db().handle(), QStringLiteral("SELECT * FROM fadok WHERE Numer = ?"), {r.numer});
        listRawMs += bench::milliseconds(bench::Clock::Wall) - start;
        ++runs;
        if (s->page.lstDokRows()->numer(s->page.lstDok()->currentIndex().row()) != r.numer)
            state.SkipWithError("the saved document is not the row selected");
        // Every save of the run goes into the month as it was filled.
        undoSave(t.db(), r.numer);
    }
    if (runs == 0) return;
    state.counters["list_ms"] = listMs / runs;
    state.counters["list_raw_ms"] = listRawMs / runs;
    state.counters["rows_held"] = double(s->page.lstDokRows()->heldRows());
    state.counters["resident_mb"] = residentMb();
}
#define SAVE(name, ...)                                                                                                \
    BENCHMARK_CAPTURE(BM_Save, name, __VA_ARGS__)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30)
SAVE(NewestMonth, bench::newestMonthDay, Before::Idle);
SAVE(OldMonth, bench::oldMonthDay, Before::Idle);
SAVE(OldMonthAfterAnotherWorkstationsSave, bench::oldMonthDay, Before::OtherWorkstation);
SAVE(OldMonthRightAfterTheFirstReading, bench::oldMonthDay, Before::FirstReading);

// The whole main window over the filled documents, open for a moment, then a document dated in
// an old month saved as the toolbar saves it (register and chart refreshed, the list showing the
// document, the side list read again): the window's thread's CPU time of that beside the raw
// engine running the statements that thread ran (the save's, the list's, the register's), the
// wall time, and the process's resident memory before and after. Arguments: the register's
// "Sumuj" off (0) or ticked (1); the entry page shown (0) or the register (1); a plain (0) or a
// protected file (1).
void BM_WindowSaveOldMonth(benchmark::State& state)
{
    bench::FilledDatabase& t = state.range(2) ? BENCH_FILLED_ONCE(QStringLiteral("tajne")) : BENCH_FILLED_ONCE();
    Answers answers;
    useTestSettings(t.app, t.dir.path());
    BaseParSave(t.app, t.db(), "DokNaglowek1", "Skup");
    auto window = openMainWindow(t.app);
    bench::numberedAtSave(t.app);
    RegisterPage* kartoteka = window->pages()->picKartoteka;
    if (state.range(1)) window->btnKartoteka->trigger();
    kartoteka->cbFSumuj()->setChecked(state.range(0) == 1);
    kartoteka->cbFSumuj_Click();
    DocumentEditing* editing = window->pages()->dokumenty;
    auto idle = [] {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 1000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    };
    idle();
    state.counters["resident_open_mb"] = residentMb();
    Recorder recorder(t.db());
    double wallMs = 0;
    int runs = 0;
    {
        bench::Paired paired(state, bench::Clock::Cpu);
        for (auto _ : state) {
            bench::bufferFifty(t.app, bench::oldMonthDay());
            const double start = bench::milliseconds(bench::Clock::Wall);
            paired.program([&] {
                editing->toolZapisz_PoBuforze();
                QApplication::processEvents();
            });
            wallMs += bench::milliseconds(bench::Clock::Wall) - start;
            ++runs;
            // The document just stored is the newest row. Its statements are recorded in the
            // same save made again, untimed, after it was taken out.
            auto newest = [&] { return t.db().scalar("SELECT Numer FROM fadok ORDER BY rowid DESC LIMIT 1").toText(); };
            undoSave(t.db(), newest());
            bench::bufferFifty(t.app, bench::oldMonthDay());
            recorder.start();
            editing->toolZapisz_PoBuforze();
            QApplication::processEvents();
            recorder.stop();
            paired.addRaw(recorder.replay(newest()));
        }
    }
    if (runs > 0) state.counters["wall_ms"] = wallMs / runs;
    idle();
    if (t.db().scalar("SELECT count(*) FROM fadok WHERE Datawyst = ?", {bench::oldMonthDay()}).toInt() < 20)
        state.SkipWithError(("not saved: " + answers.last()).toUtf8().constData());
    state.counters["resident_mb"] = residentMb();
    state.counters["rows_held"] = double(window->pages()->picWprowadzanie->lstDokRows()->heldRows());
    // With the register shown, its sums row holds the sums of every document stored by now.
    if (state.range(0) && state.range(1)) {
        backgroundDatabase(t.app).waitIdle(60000);
        const QTableWidgetItem* brutto = kartoteka->gridSuma()->item(0, registerColumn("RazBrutto"));
        const QString stored = cellText(registerColumns()[size_t(registerColumn("RazBrutto"))],
                                        t.db().scalar("SELECT sum(RazBrutto) FROM fadok"));
        if (!brutto || brutto->text() != stored)
            state.SkipWithError(QStringLiteral("the sums row shows \"%1\", not %2 (%3)")
                                    .arg(brutto ? brutto->text() : QString(), stored, answers.last())
                                    .toUtf8()
                                    .constData());
    }
}
BENCHMARK(BM_WindowSaveOldMonth)
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20);

// The document list read anew, as on attaching a database, shown and painted, beside the raw
// engine reading the same first screen of rows down the date index.
void BM_DocumentListRefill(benchmark::State& state)
{
    bench::FilledDatabase& t = BENCH_FILLED_ONCE();
    Saving s(t);
    bench::Paired paired(state);
    for (auto _ : state) {
        paired.raw([&] {
            bench::runRaw(t.db().handle(),
                          QStringLiteral("SELECT * FROM fadok WHERE Datawyst >= '' ORDER BY Datawyst DESC LIMIT ?"),
                          {LazyQueryModel::kPart});
        });
        paired.program([&] {
            s.editing.lista()->OdswiezListeDokumentow(QString());
            s.page.lstDok()->viewport()->repaint();
            QApplication::processEvents();
        });
    }
    state.counters["rows_held"] = double(s.page.lstDokRows()->heldRows());
}
BENCHMARK(BM_DocumentListRefill)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// What the document list does once the program is idle after a reading: the rest counted (the
// scroll bar and the last row right), beside the raw engine counting all documents.
void BM_DocumentListCountRest(benchmark::State& state)
{
    bench::FilledDatabase& t = BENCH_FILLED_ONCE();
    Saving s(t);
    bench::Paired paired(state);
    for (auto _ : state) {
        state.PauseTiming();
        s.editing.lista()->OdswiezListeDokumentow(QString());
        state.ResumeTiming();
        paired.raw([&] { bench::runRaw(t.db().handle(), QStringLiteral("SELECT count(*) FROM fadok")); });
        paired.program([&] {
            s.page.lstDokRows()->countRest();
            QApplication::processEvents();
        });
    }
    state.counters["rows"] = s.page.lstDokRows()->rowCount();
}
BENCHMARK(BM_DocumentListCountRest)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

}  // namespace
