#include "core/base_par.h"
#include "platform/report_render.h"
#include "register/preview_panel.h"
#include "register/print_pipeline.h"
#include "register/print_state.h"
#include "support/answers.h"
#include "support/stored_document.h"
#include "support/temp_database.h"
#include "support/test_settings.h"
#include <QApplication>
#include <benchmark/benchmark.h>

// The printed invoice: one of 20 positions written to a PDF file, and the preview of a stored
// invoice opened on the preview page, each from the database up.

namespace {

struct Invoice {
    TempDatabase t;
    Answers answers;
    Invoice()
    {
        useTestSettings(t.app, t.dir.path());
        BaseParSave(t.app, t.db(), "DokNaglowek1", QString::fromUtf8("Zakład Skupu Zbóż „Kłos” Sp. z o.o."));
        BaseParSave(t.app, t.db(), "DokNaglowek2", QString::fromUtf8("ul. Żwirki i Wigury 12, 32-650 Kęty"));
        BaseParSave(t.app, t.db(), "DokStopka", QString::fromUtf8("Dziękujemy za współpracę."));
        std::vector<TypedRow> rows;
        for (int i = 1; i <= 20; ++i)
            rows.push_back({QString::fromUtf8("Pszenica konsumpcyjna kl. %1, partia z dostawy porannej").arg(i),
                            "1234,5", "kg", "1,2345", i % 3 ? "7" : "23"});
        DocHeader h = invoiceHeader("1/05/2024");
        h.Fundusz = QString::fromUtf8("Fundusz Promocji Ziarna Zbóż i Przetworów Zbożowych");
        storeDocument(t.app, h, rows);
        printState(t.app).gRepPar = {"FR  1/05/2024", "1/05/2024"};
    }
};

void BM_Invoice20ToPdf(benchmark::State& state)
{
    Invoice inv;
    const QString path = inv.t.dir.filePath("faktura.pdf");
    for (auto _ : state) {
        QString title = "FR  1/05/2024";
        auto r = documentReport(inv.t.app, "FANET", "rapFANET1", title);
        if (!r || !report::exportPdf(*r, path)) state.SkipWithError("no PDF");
    }
}
BENCHMARK(BM_Invoice20ToPdf)->Unit(benchmark::kMillisecond);

void BM_PreviewStoredInvoice(benchmark::State& state)
{
    Invoice inv;
    PreviewPanel panel(inv.t.app);
    panel.resize(900, 760);
    panel.show();
    for (auto _ : state) {
        ReportPrint(inv.t.app, "podglad", "FANET", "rapFANET1", "FR  1/05/2024", {"FR  1/05/2024", "1/05/2024"});
        panel.repaint();
    }
}
BENCHMARK(BM_PreviewStoredInvoice)->Unit(benchmark::kMillisecond);

}  // namespace
