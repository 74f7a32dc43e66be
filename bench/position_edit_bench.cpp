#include "core/base_par.h"
#include "documents/buffer.h"
#include "editor/document_form.h"
#include "editor/entry_page.h"
#include "editor/main_pages.h"
#include "editor/position_model.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include "support/temp_database.h"
#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

// The entry page over a new document of `rows` positions, after `sql` has filled them.
struct Form {
    TempDatabase t;
    std::unique_ptr<MainPages> pages;
    DocumentForm* f = nullptr;

    Form(int rows, const char* sql)
    {
        BaseParSave(t.app, t.db(), "DokNaglowek1", "Skup");
        t.app.gPrgPar.TabPozLicz = rows;
        bufferNewDocument(t.app, false);
        t.db().execute(sql);
        pages = std::make_unique<MainPages>(t.app);
        pages->Form_Load();
        pages->Przylacz();
        f = pages->picWprowadzanie->picDokument();
    }
};

}  // namespace

// Typing one cell of a 200-position invoice: the cell's write, the row's arithmetic, and the
// totals, deduction and amount to pay of the form.
static void BM_EditCellWith200Positions(benchmark::State& state)
{
    Form form(int(state.range(0)), "UPDATE dopoz SET Nazwa = 'Pszenica', Cenanet = 12345, Indvat = '7'");
    DocumentForm* f = form.f;
    f->findChild<QorCombo*>("cmbFundusz")->setCurrentIndex(1);
    PositionModel* rows = f->positions();
    int n = 0;
    for (auto _ : state) {
        int row = n++ % rows->rowCount();
        rows->setData(rows->index(row, PositionModel::Ilosc), QString::number(n % 97 + 1) + ",5");
    }
    state.counters["netto"] = f->header().RazNetto.value_or(Decimal()).toDouble();
}
BENCHMARK(BM_EditCellWith200Positions)->Arg(200)->Unit(benchmark::kMillisecond);

// Recomputing the totals alone.
static void BM_PozycjeSumuj(benchmark::State& state)
{
    Form form(int(state.range(0)), "UPDATE dopoz SET WartNetto = 123456, WartVAT = 28395, WartBrutto = 151851");
    for (auto _ : state) form.f->PozycjeSumuj();
}
BENCHMARK(BM_PozycjeSumuj)->Arg(200)->Unit(benchmark::kMicrosecond);
