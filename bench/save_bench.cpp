#include "documents/document_list.h"
#include "documents/numbering.h"
#include "documents/save.h"
#include "editor/document_editing.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include "support/answers.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include <QApplication>
#include <QTableView>
#include <benchmark/benchmark.h>

// Over a database that already holds 100 000 documents (three positions each): saving a
// document of 50 positions, with the number taken at the moment of saving; the document list
// after a save and on attaching.

namespace {

void fill(db::Database& db, int documents)
{
    db::Transaction tr(db);
    db::Statement d(db,
                    "INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, PlatFor, "
                    "RazNetto, RazVAT, RazBrutto, DoZaplaty, Fundusz) VALUES (0,'FR',?,?,?,'Rolnik','Wieś','gotówka',"
                    "?,?,?,?,' ')");
    db::Statement p(db,
                    "INSERT INTO fapoz (Stanowisko, Inddok, Numer, Pozycja, Korekta, Nazwa, Ilosc, Indjed, Cenanet, "
                    "Indvat, WartNetto, WartVAT, WartBrutto) VALUES (0,'FR',?,?,0,'Pszenica',?,'kg',?,'7',?,?,?)");
    const QDate start(2010, 1, 1);
    int perMonth[400] = {};
    for (int i = 0; i < documents; ++i) {
        QDate date = start.addDays(i * 5000 / documents);
        int month = (date.year() - 2010) * 12 + date.month() - 1;
        QString numer = NumberUtworz(++perMonth[month], date, "Numer/Miesiąc/Rok[4]");
        d.bindAll({numer, date, date, Decimal(300), Decimal(21), Decimal(321), Decimal(321)});
        d.step();
        d.reset();
        for (int k = 1; k <= 3; ++k) {
            p.bindAll({numer, k, Decimal(10), Decimal(10), Decimal(100), Decimal(7), Decimal(107)});
            p.step();
            p.reset();
        }
    }
    tr.commit();
}

TempDatabase& database()
{
    return filledOnce([](db::Database& db) { fill(db, 100000); });
}

// Monthly numbers that cannot be edited: a new document takes its number as it is saved.
App& numberedAtSave(TempDatabase& t)
{
    t.app.gBazaPar.NumSzablon = "Numer/Miesiąc/Rok[4]";
    t.app.gBazaPar.NumAuto = true;
    t.app.gBazaPar.NumEdycja = false;
    return t.app;
}

void BM_SaveDocument50(benchmark::State& state)
{
    TempDatabase& t = database();
    Answers answers;
    App& app = numberedAtSave(t);
    std::vector<TypedRow> rows;
    for (int k = 1; k <= 50; ++k)
        rows.push_back({QStringLiteral("Towar %1").arg(k), QString::number(k), "kg", "12,34", "7"});
    bufferDocument(app, invoiceHeader("?", QDate(2023, 9, 15)), rows);
    for (auto _ : state) {
        SaveResult r = saveBuffered(app);
        if (!r.ok) state.SkipWithError(answers.last().toUtf8().constData());
    }
    state.counters["stored"] = double(t.db().scalar("SELECT count(*) FROM fadok").toInt());
}
BENCHMARK(BM_SaveDocument50)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The document list after a save, on a shown page, laid out and painted as the user sees it:
// only the save is left out of the time.
void BM_DocumentListAfterSave(benchmark::State& state)
{
    TempDatabase& t = database();
    Answers answers;
    App& app = numberedAtSave(t);
    bufferDocument(app, invoiceHeader("?", QDate(2023, 9, 15)), {{"Towar", "1", "kg", "12,34", "7"}});
    EntryPage page(app);
    DocumentEditing editing(app, &page);
    page.resize(1280, 800);
    page.show();
    editing.lista()->OdswiezListeDokumentow(QString());
    for (auto _ : state) {
        state.PauseTiming();
        SaveResult r = saveBuffered(app);
        if (!r.ok) {
            state.SkipWithError(("not saved: " + answers.last()).toUtf8().constData());
            break;
        }
        state.ResumeTiming();
        editing.lista()->OdswiezListeDokumentow(r.numer);
        page.lstDok->viewport()->repaint();
        QApplication::processEvents();
    }
    state.counters["rows read"] = double(page.lstDokRows->rowCount());
}
BENCHMARK(BM_DocumentListAfterSave)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The document list read anew, as on attaching a database, shown and painted.
void BM_DocumentListRefill(benchmark::State& state)
{
    TempDatabase& t = database();
    EntryPage page(t.app);
    DocumentEditing editing(t.app, &page);
    page.resize(1280, 800);
    page.show();
    for (auto _ : state) {
        editing.lista()->OdswiezListeDokumentow(QString());
        page.lstDok->viewport()->repaint();
        QApplication::processEvents();
    }
    state.counters["rows read"] = double(page.lstDokRows->rowCount());
}
BENCHMARK(BM_DocumentListRefill)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
