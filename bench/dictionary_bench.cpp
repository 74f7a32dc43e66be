// Each dictionary of the side list read from the filled documents, as its first showing after a
// save does, beside its statement run by the raw engine (the thread's CPU time of each); the
// contractors also shown in the side list after a save, read in the background, laid out and
// painted (the CPU time of every thread).
#include "bench_fill.h"
#include "core/background_database.h"
#include "core/base_connect.h"
#include "editor/dictionaries.h"
#include "editor/document_form.h"
#include "editor/side_list.h"
#include "paired.h"
#include "raw_engine.h"
#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

bench::FilledDatabase& database()
{
    return BENCH_FILLED_ONCE();
}

void rawDictionary(db::Database& db, const QString& name)
{
    const auto q = dictionaryQuery(name);
    benchmark::DoNotOptimize(bench::runRaw(db.handle(), q->sql, q->params));
}

void BM_Dictionary(benchmark::State& state, const char* name)
{
    bench::FilledDatabase& t = database();
    const QString dictionary = QString::fromUtf8(name);
    bench::Paired paired(state, bench::Clock::Cpu);
    size_t rows = 0;
    for (auto _ : state) {
        paired.raw([&] { rawDictionary(t.db(), dictionary); });
        paired.program([&] {
            auto d = readDictionary(t.db(), dictionary);
            rows = d ? d->rows.size() : 0;
        });
    }
    state.counters["rows"] = double(rows);
}

#define DICTIONARY(id, name)                                                                                           \
    BENCHMARK_CAPTURE(BM_Dictionary, id, name)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(1.0)
DICTIONARY(Kontrahenci, "Kontrahenci");
DICTIONARY(FormyPlatnosci, "Formy płatności");
DICTIONARY(Odroczenia, "Odroczenia płatności");
DICTIONARY(Terminy, "Terminy płatności");
DICTIONARY(Produkty, "Produkty");
DICTIONARY(Jednostki, "Jednostki miary");
DICTIONARY(StawkiVAT, "Stawki podatku VAT");
DICTIONARY(Uwagi, "Uwagi");
DICTIONARY(Wystawil, "Wystawil");

const QString kHaslo = QStringLiteral("tajne");

// The contractors read and shown in the side list, laid out and painted, as a save does while
// the list shows them. The save has them read on the background connection: the CPU time of
// every thread until they are shown counts, the statement in the background included.
void sideListKontrahenci(benchmark::State& state, const QString& haslo)
{
    bench::FilledDatabase& t = haslo.isEmpty() ? database() : BENCH_FILLED_ONCE(kHaslo);
    t.app.gBazaHaslo = haslo;
    DocumentForm form(t.app);
    SideList* list = new SideList(t.app, &form);
    form.resize(1100, 560);
    form.show();
    list->PanelSlownikPokaz(slownik::Kontrahenci);
    BackgroundDatabase& watch = backgroundDatabase(t.app);
    watch.waitIdle(600000);  // the whole-file check of a newly watched file, before the timing
    bench::Paired paired(state, bench::Clock::ProcessCpu);
    for (auto _ : state) {
        paired.raw([&] { rawDictionary(t.db(), slownik::Kontrahenci); });
        paired.program([&] {
            list->afterSave();
            watch.waitIdle(600000);
            list->viewport()->repaint();
            QApplication::processEvents();
        });
    }
    state.counters["rows"] = double(list->rowCount());
}
BENCHMARK_CAPTURE(sideListKontrahenci, Plain, QString())->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(1.0);
// A protected file: the background connection stays open, so no read derives the key again.
BENCHMARK_CAPTURE(sideListKontrahenci, Protected, kHaslo)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(1.0);

}  // namespace
