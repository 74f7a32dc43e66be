// The register and the chart over 100 000 stored documents: a refresh as the user sees it (the
// first screen listed and painted), with and without filters and the sums row, the chart of a
// year, and the steps that follow a save.
#include "documents/numbering.h"
#include "editor/main_pages.h"
#include "platform/qor_combo.h"
#include "register/chart_page.h"
#include "register/register_model.h"
#include "register/register_page.h"
#include "register/register_queries.h"
#include "register/services.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>
#include <benchmark/benchmark.h>

namespace {

// Documents over fourteen years, some corrections, three payment forms, a third of them paid.
void fill(db::Database& db, int documents)
{
    db::Transaction tr(db);
    db::Statement d(
        db, "INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, PlatFor, "
            "RazNetto, RazVAT, RazBrutto, Potracenie, DoZaplaty, Zaplacono) VALUES (0,?,?,?,?,?,'Wieś',?,?,?,?,?,?,?)");
    const QDate start(2010, 1, 1);
    const char* forms[] = {"przelew", "gotówka", "Przelew"};
    int perMonth[400] = {};
    for (int i = 0; i < documents; ++i) {
        QDate date = start.addDays(i * 5000 / documents);
        int month = (date.year() - 2010) * 12 + date.month() - 1;
        QString numer = NumberUtworz(++perMonth[month], date, "Numer/Miesiąc/Rok[4]");
        Decimal netto = Decimal::fromUnits(1000000 + i % 997 * 10000);
        Decimal vat = Decimal::fromUnits(netto.units() * 7 / 100);
        Decimal brutto = netto + vat;
        Decimal potracenie = i % 5 ? Decimal() : Decimal(1);
        d.bindAll({i % 50 ? "FR" : "KFR", numer, date, date, QStringLiteral("Rolnik %1 Łąkowy").arg(i % 997),
                   QString::fromUtf8(forms[i % 3]), netto, vat, brutto, potracenie, brutto - potracenie,
                   i % 3 ? db::Value() : db::Value(brutto - potracenie)});
        d.step();
        d.reset();
    }
    tr.commit();
}

TempDatabase& database()
{
    static TempDatabase t;
    static bool filled = false;
    if (!filled) {
        fill(t.db(), 100000);
        filled = true;
    }
    return t;
}

// The real working area, attached, with the register shown.
struct Shown {
    MainPages pages;
    RegisterPage* page;
    explicit Shown(App& app) : pages(app), page(pages.picKartoteka)
    {
        pages.resize(1280, 800);
        pages.show();
        attachRegister(app);
        pages.toolWprowadz_ButtonClick("Kartoteka");
        QApplication::processEvents();
    }
    void refresh()
    {
        page->KartotekaOdswiez();
        page->gridKar->viewport()->repaint();
        page->gridSuma->viewport()->repaint();
    }
};

void BM_RegisterRefresh(benchmark::State& state)
{
    TempDatabase& t = database();
    Shown s(t.app);
    for (auto _ : state) s.refresh();
    state.counters["rows_read"] = s.page->dataKar->rowCount();
}
BENCHMARK(BM_RegisterRefresh)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_RegisterRefreshWithSums(benchmark::State& state)
{
    TempDatabase& t = database();
    Shown s(t.app);
    s.page->cbFSumuj->setChecked(true);
    s.page->cbFSumuj_Click();
    for (auto _ : state) s.refresh();
}
BENCHMARK(BM_RegisterRefreshWithSums)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Every filter at once, the sums row shown.
void BM_RegisterRefreshFilteredWithSums(benchmark::State& state)
{
    TempDatabase& t = database();
    Shown s(t.app);
    s.page->cbFSumuj->setChecked(true);
    s.page->cbFSumuj_Click();
    s.page->txtFNazwa->setText(QString::fromUtf8("łąkowy"));
    s.page->cbFNiezaplacone->setChecked(true);
    s.page->cmbFPlatfor->setBoundValue("przelew");
    s.page->cmbFDokument->setBoundValue("FR");
    for (auto _ : state) s.refresh();
    state.counters["rows_read"] = s.page->dataKar->rowCount();
}
BENCHMARK(BM_RegisterRefreshFilteredWithSums)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A name that few documents hold: the walk down the date index meets few matches.
void BM_RegisterRefreshRareName(benchmark::State& state)
{
    TempDatabase& t = database();
    Shown s(t.app);
    s.page->txtFNazwa->setText(QString::fromUtf8("Rolnik 996 "));
    for (auto _ : state) s.refresh();
    state.counters["rows_read"] = s.page->dataKar->rowCount();
}
BENCHMARK(BM_RegisterRefreshRareName)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Scrolling to the end of the list reads every part.
void BM_RegisterReadAll(benchmark::State& state)
{
    TempDatabase& t = database();
    Shown s(t.app);
    for (auto _ : state) {
        s.page->KartotekaOdswiez();
        s.page->dataKar->fetchAll();
    }
    state.counters["rows_read"] = s.page->dataKar->rowCount();
}
BENCHMARK(BM_RegisterReadAll)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ChartRefresh(benchmark::State& state)
{
    TempDatabase& t = database();
    MainPages pages(t.app);
    ChartPage* chart = pages.picWykres;
    pages.resize(1280, 800);
    pages.show();
    attachRegister(t.app);
    pages.toolWprowadz_ButtonClick("Wykres");
    chart->cmbWRodzaj->setBoundValue("B");
    // Another year each time, so that every refresh draws new values.
    int year = 0;
    for (auto _ : state) {
        {
            ChangeGuard quiet{chart->cmbWRok};
            chart->cmbWRok->setBoundValue(QString::number(2011 + year++ % 12));
        }
        chart->WykresOdswiez();
        chart->MSChart->viewport()->repaint();
    }
}
BENCHMARK(BM_ChartRefresh)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// What follows a save: the three lists read again, the register and the chart refreshed.
void BM_AfterSave(benchmark::State& state)
{
    TempDatabase& t = database();
    Shown s(t.app);
    s.page->cbFSumuj->setChecked(true);
    s.page->cbFSumuj_Click();
    s.pages.picWykres->cmbWRok->setBoundValue("2016");
    s.pages.picWykres->cmbWRodzaj->setBoundValue("N");
    for (auto _ : state) refreshRegisterAfterSave(t.app);
}
BENCHMARK(BM_AfterSave)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Query_Sums(benchmark::State& state)
{
    TempDatabase& t = database();
    for (auto _ : state) benchmark::DoNotOptimize(registerSums(t.db(), {}));
}
BENCHMARK(BM_Query_Sums)->Unit(benchmark::kMillisecond);

void BM_Query_MonthSums(benchmark::State& state)
{
    TempDatabase& t = database();
    for (auto _ : state) benchmark::DoNotOptimize(monthSums(t.db(), 2016));
}
BENCHMARK(BM_Query_MonthSums)->Unit(benchmark::kMillisecond);

void BM_Query_PaymentForms(benchmark::State& state)
{
    TempDatabase& t = database();
    for (auto _ : state) benchmark::DoNotOptimize(paymentForms(t.db()));
}
BENCHMARK(BM_Query_PaymentForms)->Unit(benchmark::kMillisecond);

void BM_Query_MonthsAndYears(benchmark::State& state)
{
    TempDatabase& t = database();
    for (auto _ : state) {
        benchmark::DoNotOptimize(issueMonths(t.db()));
        benchmark::DoNotOptimize(issueYears(t.db()));
    }
}
BENCHMARK(BM_Query_MonthsAndYears)->Unit(benchmark::kMillisecond);

}  // namespace
