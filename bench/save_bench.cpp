#include "core/main_frame.h"
#include "core/registry.h"
#include "core/start_up.h"
#include "documents/document_list.h"
#include "documents/numbering.h"
#include "documents/save.h"
#include "editor/document_editing.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include "editor/main_window.h"
#include "support/answers.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

// Over a database that already holds 100 000 documents (three positions each): saving a
// document of 50 positions, with the number taken at the moment of saving; the document list
// after a save and on attaching; the program's start-up to a usable window, in this process and
// as a program of its own, with the memory it then holds.

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

// The settings of a first start that opens the big database: a folder of their own.
QTemporaryDir& settingsHome()
{
    static QTemporaryDir home;
    return home;
}

void pointSettingsAt(const QString& database)
{
    const QString key = kRegFamilyKey + QStringLiteral("\\Rolkwit");
    RegSave(key, QStringLiteral("BazaPlik"), database);
}

// Main as the program runs it, to the window shown and painted with the database attached.
void BM_StartUp(benchmark::State& state)
{
    TempDatabase& t = database();
    pointSettingsAt(t.path);
    Answers answers;
    for (auto _ : state) {
        App app;
        app.programFolder = QStringLiteral(ROLKWIT_PROGRAM_DIR);
        auto frame = Main(app, [](App& a) { return std::make_unique<MainWindow>(a); });
        if (!frame || !app.gBazaOtwarta) state.SkipWithError("no window with the database");
        QApplication::processEvents();
        state.PauseTiming();
        frame.reset();
        app.gBaseDb.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The program started as a process of its own (this benchmark in its start-up mode): the time
// until its window is usable, and the memory it holds then (resident now and at most).
void BM_StartUpProcess(benchmark::State& state)
{
    TempDatabase& t = database();
    pointSettingsAt(t.path);
    double rss = 0, peak = 0;
    for (auto _ : state) {
        QProcess child;
        QElapsedTimer clock;
        clock.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--start-up")});
        QByteArray out;
        while (!out.contains("usable") && child.waitForReadyRead(10000)) out += child.readAllStandardOutput();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (!child.waitForFinished(10000)) child.kill();
        out += child.readAllStandardOutput();
        int kbRss = 0, kbPeak = 0;
        if (std::sscanf(out.constData(), "usable %d %d", &kbRss, &kbPeak) != 2) state.SkipWithError(out.constData());
        rss = kbRss / 1024.0;
        peak = kbPeak / 1024.0;
    }
    state.counters["MB resident"] = rss;
    state.counters["MB peak"] = peak;
}
BENCHMARK(BM_StartUpProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

// The start-up mode: Main on the settings the parent wrote, then "usable" with the resident and
// the peak memory in kB.
int startUp()
{
    App::setDefaultErrorReporter(
        [](App&, const QString& where, const QString&) { std::printf("error %s\n", qPrintable(where)); });
    Answers answers;
    App app;
    app.programFolder = QStringLiteral(ROLKWIT_PROGRAM_DIR);
    auto frame = Main(app, [](App& a) { return std::make_unique<MainWindow>(a); });
    QApplication::processEvents();
    if (!frame || !app.gBazaOtwarta) return 1;
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    int rss = 0, peak = 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) rss = line.mid(6).trimmed().split(' ').value(0).toInt();
        if (line.startsWith("VmHWM:")) peak = line.mid(6).trimmed().split(' ').value(0).toInt();
    }
    std::printf("usable %d %d\n", rss, peak);
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool child = argc > 1 && qstrcmp(argv[1], "--start-up") == 0;
    if (!child) qputenv("XDG_CONFIG_HOME", settingsHome().path().toUtf8());
    QApplication qapp(argc, argv);
    if (child) return startUp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
