#include "documents/document_list.h"
#include "documents/numbering.h"
#include "editor/document_editing.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include "support/temp_database.h"
#include <QApplication>
#include <QFile>
#include <QTableView>
#include <QTest>
#include <benchmark/benchmark.h>

// End on the document list of 100 000 documents: the list reads the rest of its rows and goes
// to the oldest document. Beside it, the raw engine reading the same columns of every document
// in the list's order.

namespace {

// The memory the process holds, in MB.
double residentMb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

TempDatabase& database()
{
    return filledOnce([](db::Database& db) {
        db::Transaction tr(db);
        db::Statement d(db,
                        "INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, PlatFor, "
                        "RazNetto, RazVAT, RazBrutto, DoZaplaty, Fundusz) VALUES (0,'FR',?,?,?,'Rolnik','Wieś',"
                        "'gotówka',?,?,?,?,' ')");
        const QDate start(2010, 1, 1);
        const int documents = 100000;
        int perMonth[400] = {};
        for (int i = 0; i < documents; ++i) {
            QDate date = start.addDays(i * 5000 / documents);
            int month = (date.year() - 2010) * 12 + date.month() - 1;
            QString numer = NumberUtworz(++perMonth[month], date, "Numer/Miesiąc/Rok[4]");
            d.bindAll({numer, date, date, Decimal(300), Decimal(21), Decimal(321), Decimal(321)});
            d.step();
            d.reset();
        }
        tr.commit();
    });
}

void BM_DocumentListEnd(benchmark::State& state)
{
    TempDatabase& t = database();
    EntryPage page(t.app);
    DocumentEditing editing(t.app, &page);
    page.resize(1280, 800);
    page.show();
    for (auto _ : state) {
        editing.lista()->OdswiezListeDokumentow(QString());
        page.lstDok->setFocus();
        page.lstDok->setCurrentIndex(page.lstDokRows->index(0, 0));
        QTest::keyClick(page.lstDok, Qt::Key_End);
        page.lstDok->viewport()->repaint();
        QApplication::processEvents();
        if (page.lstDok->currentIndex().row() != 100000) state.SkipWithError("End did not reach the oldest document");
    }
    state.counters["rows read"] = double(page.lstDokRows->rowCount());
    state.counters["MB held"] = residentMb();
}
BENCHMARK(BM_DocumentListEnd)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_RawEngineEveryDocument(benchmark::State& state)
{
    TempDatabase& t = database();
    for (auto _ : state) {
        auto rows = t.db().query("SELECT Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, RazNetto, RazVAT, "
                                 "RazBrutto, Wystawil, rowid FROM fadok ORDER BY Datawyst DESC");
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_RawEngineEveryDocument)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
