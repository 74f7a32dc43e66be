// The register and the chart over the filled documents: the first screen listed and painted,
// with and without filters and the sums row, the whole list read, the chart of a year and the
// steps that follow a save, each beside the raw engine running the statements of the same work.
#include "bench_fill.h"
#include "core/background_database.h"
#include "core/base_connect.h"
#include "editor/main_pages.h"
#include "paired.h"
#include "platform/process_memory.h"
#include "platform/qor_combo.h"
#include "raw_engine.h"
#include "register/chart_page.h"
#include "register/register_columns.h"
#include "register/register_model.h"
#include "register/register_page.h"
#include "register/register_queries.h"
#include "register/services.h"
#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// One filled copy for the file: nothing here writes a document.
bench::FilledDatabase& database()
{
    return BENCH_FILLED_ONCE();
}

// The real working area, attached, with the register shown.
struct Shown {
    App& app;
    MainPages pages;
    RegisterPage* page;
    explicit Shown(App& a) : app(a), pages(a), page(pages.picKartoteka)
    {
        pages.resize(1280, 800);
        pages.show();
        attachRegister(app);
        pages.toolWprowadz_ButtonClick("Kartoteka");
        QApplication::processEvents();
    }
    // "Sumuj" ticked; the background connection's first work (the whole-file check) done first.
    void sumuj()
    {
        page->cbFSumuj()->setChecked(true);
        page->cbFSumuj_Click();
        sumsIn();
    }
    // The sums row read on the background connection and shown.
    void sumsIn()
    {
        if (page->cbFSumuj()->isChecked()) backgroundDatabase(app).waitIdle(600000);
    }
    void refresh()
    {
        page->KartotekaOdswiez();
        sumsIn();
        page->gridKar()->viewport()->repaint();
        page->gridSuma()->viewport()->repaint();
    }
};

// The raw engine's work for a register filtered by `f`: its first screen of rows newest first
// and, with `sums`, the sums of the listed documents.
struct RawRegister {
    db::Database& db;
    RegisterFilter f;
    bool sums = false;

    void operator()() const
    {
        QStringList names;
        for (const RegisterColumn& c : registerColumns()) names << c.name;
        const SqlCondition c = registerCondition(f);
        std::vector<db::Value> first = c.params;
        first.push_back(LazyQueryModel::kPart);
        bench::runRaw(
            db.handle(),
            QStringLiteral("SELECT %1, rowid FROM fadok WHERE Datawyst >= ''%2 ORDER BY Datawyst DESC LIMIT ?")
                .arg(names.join(", "), c.sql),
            first);
        if (sums)
            bench::runRaw(db.handle(),
                          QStringLiteral("SELECT sum(RazNetto), sum(RazVAT), sum(RazBrutto), sum(Potracenie), "
                                         "sum(DoZaplaty), sum(Zaplacono) FROM fadok WHERE 1 = 1%1")
                              .arg(c.sql),
                          c.params);
    }
};

void refreshBeside(benchmark::State& state, Shown& s, const RawRegister& raw)
{
    bench::Paired paired(state);
    for (auto _ : state) {
        paired.raw(raw);
        paired.program([&] { s.refresh(); });
    }
    state.counters["rows_held"] = double(s.page->dataKar()->heldRows());
}

void BM_RegisterFirstScreen(benchmark::State& state)
{
    bench::FilledDatabase& t = database();
    Shown s(t.app);
    refreshBeside(state, s, {t.db(), {}});
}
BENCHMARK(BM_RegisterFirstScreen)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

void BM_RegisterFirstScreenWithSums(benchmark::State& state)
{
    bench::FilledDatabase& t = database();
    Shown s(t.app);
    s.sumuj();
    refreshBeside(state, s, {t.db(), {}, true});
}
BENCHMARK(BM_RegisterFirstScreenWithSums)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// Every filter at once, the sums row shown.
void BM_RegisterFilteredWithSums(benchmark::State& state)
{
    bench::FilledDatabase& t = database();
    Shown s(t.app);
    s.sumuj();
    s.page->txtFNazwa()->setText(QString::fromUtf8("żabiński"));
    s.page->cbFNiezaplacone()->setChecked(true);
    s.page->cmbFPlatfor()->setBoundValue("przelew");
    s.page->cmbFDokument()->setBoundValue("FR");
    refreshBeside(state, s, {t.db(), s.page->filter(), true});
}
BENCHMARK(BM_RegisterFilteredWithSums)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// A name that few documents hold: the walk down the date index meets few matches.
void BM_RegisterRareName(benchmark::State& state)
{
    bench::FilledDatabase& t = database();
    Shown s(t.app);
    s.page->txtFNazwa()->setText(QString::fromUtf8("Rolne 4999 "));
    refreshBeside(state, s, {t.db(), s.page->filter()});
}
BENCHMARK(BM_RegisterRareName)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// The raw engine reading every listed row in order, as the whole register needs them.
void readEveryRow(db::Database& db)
{
    QStringList names;
    for (const RegisterColumn& c : registerColumns()) names << c.name;
    bench::runRaw(db.handle(),
                  QStringLiteral("SELECT %1, rowid FROM fadok ORDER BY Datawyst DESC").arg(names.join(", ")));
}

// Scrolling to the end of the list reads every part (and lets the ones passed go).
void BM_RegisterReadAll(benchmark::State& state)
{
    bench::FilledDatabase& t = database();
    Shown s(t.app);
    bench::Paired paired(state);
    for (auto _ : state) {
        paired.raw([&] { readEveryRow(t.db()); });
        paired.program([&] {
            s.page->KartotekaOdswiez();
            s.page->dataKar()->fetchAll();
        });
    }
    state.counters["rows"] = s.page->dataKar()->rowCount();
    state.counters["rows_held"] = double(s.page->dataKar()->heldRows());
}
BENCHMARK(BM_RegisterReadAll)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// Ctrl+End on the register as first shown, without a filter (0) and with "Niezapłacone" (1): the
// rest counted, the last screen read and painted, beside the raw engine counting the listed
// documents and reading the last screen.
void BM_RegisterCtrlEnd(benchmark::State& state)
{
    bench::FilledDatabase& t = database();
    Shown s(t.app);
    s.page->cbFNiezaplacone()->setChecked(state.range(0) == 1);
    bench::Paired paired(state);
    QStringList names;
    for (const RegisterColumn& c : registerColumns()) names << c.name;
    const SqlCondition c = registerCondition(s.page->filter());
    std::vector<db::Value> last = c.params;
    last.push_back(LazyQueryModel::kPart);
    for (auto _ : state) {
        state.PauseTiming();
        s.page->KartotekaOdswiez();
        s.page->gridKar()->setFocus();
        state.ResumeTiming();
        paired.raw([&] {
            bench::runRaw(t.db().handle(), QStringLiteral("SELECT count(*) FROM fadok WHERE 1 = 1%1").arg(c.sql),
                          c.params);
            bench::runRaw(t.db().handle(),
                          QStringLiteral("SELECT %1, rowid FROM fadok WHERE 1 = 1%2 ORDER BY Datawyst LIMIT ?")
                              .arg(names.join(", "), c.sql),
                          last);
        });
        paired.program([&] {
            QTest::keyClick(s.page->gridKar(), Qt::Key_End, Qt::ControlModifier);
            s.page->gridKar()->viewport()->repaint();
        });
    }
    state.counters["rows"] = s.page->dataKar()->rowCount();
    state.counters["current"] = s.page->currentRow();
    state.counters["rows_held"] = double(s.page->dataKar()->heldRows());
}
BENCHMARK(BM_RegisterCtrlEnd)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// "Zaznacz wiersze" on the list as first shown: every row marked by the list's counted length,
// beside the raw engine counting the documents.
void BM_RegisterMarkAll(benchmark::State& state)
{
    bench::FilledDatabase& t = database();
    Shown s(t.app);
    bench::Paired paired(state);
    for (auto _ : state) {
        state.PauseTiming();
        s.page->KartotekaOdswiez();
        state.ResumeTiming();
        paired.raw([&] { bench::runRaw(t.db().handle(), QStringLiteral("SELECT count(*) FROM fadok")); });
        paired.program([&] {
            s.page->KarMarkAll();
            s.page->gridKar()->viewport()->repaint();
        });
    }
    state.counters["rows_marked"] = double(s.page->markedRows().size());
    state.counters["rows_held"] = double(s.page->dataKar()->heldRows());
}
BENCHMARK(BM_RegisterMarkAll)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// "Kopiuj wiersze" after "Zaznacz wiersze": every row read and put on the clipboard, beside the
// raw engine reading every row in order; the text's size and the process's resident memory
// before the first copy and after the last one (the text then on the clipboard).
void BM_RegisterCopyAll(benchmark::State& state)
{
    memory::returnLargeBuffers();  // as the program sets it at start
    bench::FilledDatabase& t = database();
    Shown s(t.app);
    bench::Paired paired(state);
    qint64 held = 0;
    double before = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.page->KartotekaOdswiez();
        s.page->KarMarkAll();
        QApplication::clipboard()->clear();
        if (before == 0) before = bench::residentMb();
        state.ResumeTiming();
        paired.raw([&] { readEveryRow(t.db()); });
        paired.program([&] {
            s.page->KarCopyClipboard();
            held = s.page->dataKar()->heldRows();
        });
    }
    state.counters["rows_held"] = double(held);
    state.counters["text_mb"] = double(QApplication::clipboard()->mimeData()->data("text/plain").size()) / (1 << 20);
    state.counters["resident_before_mb"] = before;
    state.counters["resident_after_mb"] = bench::residentMb();
}
BENCHMARK(BM_RegisterCopyAll)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

QString monthSumsSql()
{
    return QStringLiteral("SELECT substr(Datawyst, 6, 2), sum(RazNetto), sum(RazVAT), sum(RazBrutto), sum(Zaplacono), "
                          "sum(DoZaplaty) FROM fadok WHERE Datawyst >= ? AND Datawyst < ? GROUP BY 1");
}

void BM_ChartRefresh(benchmark::State& state)
{
    bench::FilledDatabase& t = database();
    MainPages pages(t.app);
    ChartPage* chart = pages.picWykres;
    pages.resize(1280, 800);
    pages.show();
    attachRegister(t.app);
    pages.toolWprowadz_ButtonClick("Wykres");
    chart->cmbWRodzaj->setBoundValue("B");
    // Another year each time, so that every refresh draws new values.
    int year = 0;
    bench::Paired paired(state);
    for (auto _ : state) {
        const int y = 2011 + year++ % 12;
        paired.raw([&] { bench::runRaw(t.db().handle(), monthSumsSql(), {QDate(y, 1, 1), QDate(y + 1, 1, 1)}); });
        paired.program([&] {
            {
                ChangeGuard quiet{chart->cmbWRok};
                chart->cmbWRok->setBoundValue(QString::number(y));
            }
            chart->WykresOdswiez();
            chart->MSChart->viewport()->repaint();
        });
    }
}
BENCHMARK(BM_ChartRefresh)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// What follows a save: the register's lists read again, the register and the chart refreshed;
// the raw engine runs the first screen, the sums, a year's sums per month and the distinct
// payment forms and months.
void BM_AfterSave(benchmark::State& state)
{
    bench::FilledDatabase& t = database();
    Shown s(t.app);
    s.sumuj();
    s.pages.picWykres->cmbWRok->setBoundValue("2016");
    s.pages.picWykres->cmbWRodzaj->setBoundValue("N");
    bench::Paired paired(state);
    for (auto _ : state) {
        paired.raw([&] {
            RawRegister{t.db(), {}, true}();
            bench::runRaw(t.db().handle(), monthSumsSql(), {QDate(2016, 1, 1), QDate(2017, 1, 1)});
            bench::runRaw(t.db().handle(), QStringLiteral("SELECT DISTINCT PlatFor COLLATE BINARY FROM fadok"));
            bench::runRaw(t.db().handle(), QStringLiteral("SELECT DISTINCT substr(Datawyst, 1, 7) FROM fadok"));
        });
        paired.program([&] {
            refreshRegisterAfterSave(t.app);
            s.sumsIn();
        });
    }
}
BENCHMARK(BM_AfterSave)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// The statements alone.
void BM_Query_Sums(benchmark::State& state)
{
    bench::FilledDatabase& t = database();
    bench::Paired paired(state);
    for (auto _ : state) {
        paired.raw([&] {
            bench::runRaw(t.db().handle(),
                          QStringLiteral("SELECT sum(RazNetto), sum(RazVAT), sum(RazBrutto), sum(Potracenie), "
                                         "sum(DoZaplaty), sum(Zaplacono) FROM fadok WHERE 1 = 1"));
        });
        paired.program([&] { benchmark::DoNotOptimize(registerSums(t.db(), {})); });
    }
}
BENCHMARK(BM_Query_Sums)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_Query_PaymentFormsAndMonths(benchmark::State& state)
{
    bench::FilledDatabase& t = database();
    bench::Paired paired(state);
    for (auto _ : state) {
        paired.raw([&] {
            bench::runRaw(t.db().handle(), QStringLiteral("SELECT DISTINCT PlatFor COLLATE BINARY FROM fadok"));
            bench::runRaw(t.db().handle(), QStringLiteral("SELECT DISTINCT substr(Datawyst, 1, 7) FROM fadok"));
        });
        paired.program([&] {
            benchmark::DoNotOptimize(paymentForms(t.db()));
            benchmark::DoNotOptimize(issueMonths(t.db()));
            benchmark::DoNotOptimize(issueYears(t.db()));
        });
    }
}
BENCHMARK(BM_Query_PaymentFormsAndMonths)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
