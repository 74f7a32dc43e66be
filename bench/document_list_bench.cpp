#include "bench_fill.h"
#include "documents/document_list.h"
#include "editor/document_editing.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include <QApplication>
#include <QFile>
#include <QTableView>
#include <QTest>
#include <benchmark/benchmark.h>

// End on the document list of the filled documents (bench_fill.h): the list reads the rest of its
// rows and goes to the oldest document. Beside it, the raw engine reading the same columns of
// every document in issue-date order.

namespace {

void BM_DocumentListEnd(benchmark::State& state)
{
    bench::FilledDatabase& filled = BENCH_FILLED_ONCE();
    EntryPage page(filled.app);
    DocumentEditing editing(filled.app, &page);
    page.resize(1280, 800);
    page.show();
    for (auto _ : state) {
        editing.lista()->OdswiezListeDokumentow(QString());
        page.lstDok()->setFocus();
        page.lstDok()->setCurrentIndex(page.lstDokRows()->index(0, 0));
        QTest::keyClick(page.lstDok(), Qt::Key_End);
        page.lstDok()->viewport()->repaint();
        QApplication::processEvents();
        if (page.lstDok()->currentIndex().row() != bench::documents())
            state.SkipWithError("End did not reach the oldest document");
    }
    state.counters["rows read"] = double(page.lstDokRows()->rowCount());
    state.counters["MB held"] = bench::residentMb();
}
BENCHMARK(BM_DocumentListEnd)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_RawEngineEveryDocument(benchmark::State& state)
{
    bench::FilledDatabase& filled = BENCH_FILLED_ONCE();
    for (auto _ : state) {
        auto rows = filled.db().query("SELECT Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, RazNetto, "
                                      "RazVAT, RazBrutto, Wystawil, rowid FROM fadok ORDER BY Datawyst DESC");
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_RawEngineEveryDocument)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
