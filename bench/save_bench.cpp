// Saving a document of 50 positions into the filled documents, numbered at the moment of saving,
// dated in the newest month and in an old one: the save's CPU time beside the same statements
// run by the raw engine; the document list refreshed after it (as a freshly opened list, so the
// old month is not read yet) beside one indexed read of the saved row; the rows the list then
// holds and the process's resident memory. Also the list read anew, as on attaching.
#include "bench_fill.h"
#include "documents/document_list.h"
#include "documents/save.h"
#include "editor/document_editing.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include "paired.h"
#include "raw_engine.h"
#include "support/answers.h"
#include "support/document_fixture.h"
#include <QApplication>
#include <QFile>
#include <QTableView>
#include <benchmark/benchmark.h>
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

// The statements a connection runs, each with its values written in, while it is recording.
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
    // The recorded statements run again by the raw engine, inside a savepoint that is then rolled
    // back: the same work on the same file, left as it was. Gives the CPU milliseconds of the run.
    double replay()
    {
        sqlite3* h = db_.handle();
        sqlite3_exec(h, "SAVEPOINT raw", nullptr, nullptr, nullptr);
        const double start = bench::milliseconds(bench::Clock::Cpu);
        for (const QByteArray& sql : statements_) sqlite3_exec(h, sql.constData(), nullptr, nullptr, nullptr);
        const double spent = bench::milliseconds(bench::Clock::Cpu) - start;
        sqlite3_exec(h, "ROLLBACK TO raw; RELEASE raw", nullptr, nullptr, nullptr);
        return spent;
    }

private:
    static int seen(unsigned, void* self, void* stmt, void*)
    {
        auto* r = static_cast<Recorder*>(self);
        if (!r->on_) return 0;
        char* sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(stmt));
        const QByteArray text(sql ? sql : "");
        sqlite3_free(sql);
        // The save's own transaction is the savepoint's here.
        const QByteArray word = text.trimmed().left(6).toUpper();
        if (word != "BEGIN " && word != "COMMIT" && word != "ROLLBA") r->statements_.push_back(text);
        return 0;
    }

    db::Database& db_;
    std::vector<QByteArray> statements_;
    bool on_ = false;
};

// The entry page over a filled copy, shown, with monthly numbers taken at the moment of saving.
struct Saving {
    bench::FilledDatabase& t;
    Answers answers;
    EntryPage page;
    DocumentEditing editing;

    explicit Saving(bench::FilledDatabase& filled) : t(filled), page(filled.app), editing(filled.app, &page)
    {
        App& app = t.app;
        app.gBazaPar.NumSzablon = QStringLiteral("Numer/Miesiąc/Rok[4]");
        app.gBazaPar.NumMiesieczna = true;
        app.gBazaPar.NumAuto = true;
        app.gBazaPar.NumEdycja = false;
        page.resize(1280, 800);
        page.show();
        editing.lista()->OdswiezListeDokumentow(QString());
        QApplication::processEvents();
    }
    void buffer(const QDate& day)
    {
        std::vector<TypedRow> rows;
        for (int k = 1; k <= 50; ++k)
            rows.push_back({QStringLiteral("Towar %1").arg(k), QString::number(k), "kg", "12,34", "7"});
        bufferDocument(t.app, invoiceHeader("?", day), rows);
    }
};

void BM_Save(benchmark::State& state, QDate (*day)())
{
    bench::FilledDatabase& t = day == bench::newestMonthDay ? BENCH_FILLED_ONCE() : BENCH_FILLED_ONCE();
    Saving s(t);
    s.buffer(day());
    Recorder recorder(t.db());
    bench::Paired paired(state, bench::Clock::Cpu);
    double listMs = 0, listRawMs = 0;
    int runs = 0;
    for (auto _ : state) {
        // As a list freshly read: the month saved into is read only if it is among the newest.
        s.editing.lista()->OdswiezListeDokumentow(QString());
        SaveResult r;
        paired.program([&] {
            recorder.start();
            r = saveBuffered(t.app);
            recorder.stop();
        });
        if (!r.ok) {
            state.SkipWithError(("not saved: " + s.answers.last()).toUtf8().constData());
            break;
        }
        // The replay's own CPU time: the savepoint's roll-back is not the save's work.
        paired.addRaw(recorder.replay());
        double start = bench::milliseconds(bench::Clock::Wall);
        s.editing.lista()->OdswiezListeDokumentow(r.numer);
        s.page.lstDok->viewport()->repaint();
        QApplication::processEvents();
        listMs += bench::milliseconds(bench::Clock::Wall) - start;
        start = bench::milliseconds(bench::Clock::Wall);
        bench::runRaw(t.db().handle(), QStringLiteral("SELECT * FROM fadok WHERE Numer = ?"), {r.numer});
        listRawMs += bench::milliseconds(bench::Clock::Wall) - start;
        ++runs;
        if (s.page.lstDokRows->numer(s.page.lstDok->currentIndex().row()) != r.numer)
            state.SkipWithError("the saved document is not the row selected");
    }
    if (runs == 0) return;
    state.counters["list_ms"] = listMs / runs;
    state.counters["list_raw_ms"] = listRawMs / runs;
    state.counters["rows_held"] = double(s.page.lstDokRows->heldRows());
    state.counters["resident_mb"] = residentMb();
}
BENCHMARK_CAPTURE(BM_Save, NewestMonth, bench::newestMonthDay)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Save, OldMonth, bench::oldMonthDay)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

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
            s.page.lstDok->viewport()->repaint();
            QApplication::processEvents();
        });
    }
    state.counters["rows_held"] = double(s.page.lstDokRows->heldRows());
}
BENCHMARK(BM_DocumentListRefill)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

}  // namespace
