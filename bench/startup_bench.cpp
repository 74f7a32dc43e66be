// The program's start-up to a usable window, as a process of its own, with the memory it then
// holds: on the filled database, plain and protected, beside the same program on an empty
// database and a minimal Qt program (a window and nothing else) started in the same rounds, and
// the longest pass of the window's thread from then until the background reads are done. A copy
// that ends before its window fails the benchmark. Also Main in this process on the filled
// database, and another workstation's saves while the program starts.
#include "bench_fill.h"
#include "core/background_database.h"
#include "core/base_connect.h"
#include "core/dlg_baza_haslo.h"
#include "core/main_frame.h"
#include "core/registry.h"
#include "core/start_up.h"
#include "editor/document_editing.h"
#include "editor/main_pages.h"
#include "editor/main_window.h"
#include "other_workstation.h"
#include "support/answers.h"
#include "support/temp_database.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <optional>

namespace {

const QString kHaslo = QStringLiteral("tajne");
// How long after the window is usable its thread is watched for long passes, at least.
constexpr int kWatchedMs = 3000;

// The settings of a first start that opens the database given: a folder of their own.
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
    bench::FilledDatabase& t = BENCH_FILLED_ONCE();
    pointSettingsAt(t.path);
    Answers answers;
    answers.yes = false;  // no header definition now
    for (auto _ : state) {
        App app;
        app.programFolder = QStringLiteral(ROLKWIT_PROGRAM_DIR);
        auto frame = Main(app, [](App& a) { return std::make_unique<MainWindow>(a); });
        if (!frame || !app.gBazaOtwarta) state.SkipWithError("no window with the database");
        QApplication::processEvents();
        state.PauseTiming();
        frame.reset();
        app.backgroundDatabase.reset();
        app.gBaseDb.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One start of this benchmark in its start-up mode `mode` ("--start-up" or "--minimal"): the time
// until its window is usable and what the child reported.
struct Start {
    bool usable = false;                     // the window was reached (a copy may end before)
    double ms = 0;                           // from the process's start to a usable window
    double afterKey = -1;                    // from the password's Return to a usable window
    double rss = 0;                          // MB resident when usable
    double peak = 0;                         // MB at most until then
    double checkedRss = 0, checkedPeak = 0;  // MB once the background reads are done
    double savedRss = 0, savedPeak = 0;      // MB after a save into an old month
    double stretch = 0;                      // ms of the longest pass of the window's thread
};

Start startChild(const QString& mode, const QString& haslo = QString())
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ROLKWIT_BENCH_HASLO"), haslo);
    child.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), {mode});
    QByteArray out;
    Start s;
    while (!out.contains("usable") && child.waitForReadyRead(60000)) out += child.readAllStandardOutput();
    s.ms = double(clock.nsecsElapsed()) / 1e6;
    s.usable = out.contains("usable");
    if (!child.waitForFinished(600000)) child.kill();
    out += child.readAllStandardOutput();
    int rss = 0, peak = 0, checkedRss = 0, checkedPeak = 0, savedRss = 0, savedPeak = 0;
    double afterKey = -1;
    if (std::sscanf(out.constData(), "usable %d %d %lf\nchecked %d %d %lf\nsaved %d %d", &rss, &peak, &afterKey,
                    &checkedRss, &checkedPeak, &s.stretch, &savedRss, &savedPeak) < 3)
        std::fprintf(stderr, "child %s: %s\n", qPrintable(mode), out.constData());
    s.afterKey = afterKey;
    s.rss = rss / 1024.0;
    s.peak = peak / 1024.0;
    s.checkedRss = checkedRss / 1024.0;
    s.checkedPeak = checkedPeak / 1024.0;
    s.savedRss = savedRss / 1024.0;
    s.savedPeak = savedPeak / 1024.0;
    return s;
}

// Each round starts the four programs one after the other, so that the machine's load weighs on
// them alike; the counters are the means and the ratios of the means.
void BM_StartUpProcess(benchmark::State& state)
{
    bench::FilledDatabase& plain = BENCH_FILLED_ONCE();
    bench::FilledDatabase& secured = BENCH_FILLED_ONCE(kHaslo);
    static TempDatabase empty;
    empty.app.gBaseDb.reset();
    // The empty database protected: the protected start's own measure from the Return.
    static TempDatabase emptySecured;
    emptySecured.app.gBaseDb.reset();
    if (db::isPlainDatabaseFile(emptySecured.path))
        db::Database::open(emptySecured.path, QString(), {.exclusive = true})->changePassword(kHaslo);
    Start sum[4];
    double afterKey = 0, emptyAfterKey = 0;
    int n = 0;
    for (auto _ : state) {
        pointSettingsAt(empty.path);
        const Start e = startChild(QStringLiteral("--start-up"));
        pointSettingsAt(emptySecured.path);
        const Start es = startChild(QStringLiteral("--start-up"), kHaslo);
        emptyAfterKey += es.afterKey;
        pointSettingsAt(plain.path);
        const Start p = startChild(QStringLiteral("--start-up"));
        pointSettingsAt(secured.path);
        const Start s = startChild(QStringLiteral("--start-up"), kHaslo);
        const Start m = startChild(QStringLiteral("--minimal"));
        const Start* all[] = {&e, &p, &s, &m};
        // A copy that ended before its window would count its early end as a start-up.
        if (!es.usable || std::any_of(std::begin(all), std::end(all), [](const Start* a) { return !a->usable; })) {
            state.SkipWithError("a started copy ended without reaching its window");
            return;
        }
        state.SetIterationTime(p.ms / 1000);
        for (int i = 0; i < 4; ++i) {
            sum[i].ms += all[i]->ms;
            sum[i].rss = std::max(sum[i].rss, all[i]->rss);
            sum[i].peak = std::max(sum[i].peak, all[i]->peak);
            sum[i].checkedRss = std::max(sum[i].checkedRss, all[i]->checkedRss);
            sum[i].checkedPeak = std::max(sum[i].checkedPeak, all[i]->checkedPeak);
            sum[i].savedRss = std::max(sum[i].savedRss, all[i]->savedRss);
            sum[i].savedPeak = std::max(sum[i].savedPeak, all[i]->savedPeak);
            sum[i].stretch = std::max(sum[i].stretch, all[i]->stretch);
        }
        afterKey += s.afterKey;
        ++n;
    }
    const double empty_ = sum[0].ms / n, plain_ = sum[1].ms / n, secured_ = sum[2].ms / n, minimal = sum[3].ms / n;
    state.counters["empty ms"] = empty_;
    state.counters["plain ms"] = plain_;
    state.counters["protected ms"] = secured_;
    state.counters["protected from Return ms"] = afterKey / n;
    state.counters["empty protected from Return ms"] = emptyAfterKey / n;
    state.counters["protected from Return x empty"] = emptyAfterKey > 0 ? afterKey / emptyAfterKey : 0;
    state.counters["minimal Qt ms"] = minimal;
    state.counters["plain x empty"] = plain_ / empty_;
    state.counters["protected x empty"] = secured_ / empty_;
    state.counters["plain x minimal"] = plain_ / minimal;
    state.counters["empty longest pass ms"] = sum[0].stretch;
    state.counters["plain longest pass ms"] = sum[1].stretch;
    state.counters["protected longest pass ms"] = sum[2].stretch;
    std::printf("start-up to a usable window (means of %d rounds):\n", n);
    const char* names[] = {"empty database", "filled, plain", "filled, protected", "minimal Qt program"};
    for (int i = 0; i < 4; ++i)
        std::printf("  %-20s %8.1f ms  resident %6.1f MB (peak %6.1f)  after the background reads %6.1f MB "
                    "(peak %6.1f)  after a save dated %s %6.1f MB (peak %6.1f)\n",
                    names[i], sum[i].ms / n, sum[i].rss, sum[i].peak, sum[i].checkedRss, sum[i].checkedPeak,
                    qPrintable(bench::oldMonthDay().toString(QStringLiteral("d.MM.yyyy"))), sum[i].savedRss,
                    sum[i].savedPeak);
    std::printf("longest pass of the window's thread from usable until the background reads are done (at least "
                "%d ms), of all rounds: empty %.1f ms, plain %.1f ms, protected %.1f ms\n",
                kWatchedMs, sum[0].stretch, sum[1].stretch, sum[2].stretch);
}
BENCHMARK(BM_StartUpProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(8);

// Another workstation saving every 50 ms while the program starts on the filled database, reads
// in the background, checks the whole file and saves a document: its longest save beside its
// longest with nobody else on the file.
void saveDuringStartUp(benchmark::State& state, const QString& haslo)
{
    bench::FilledDatabase& t = haslo.isEmpty() ? BENCH_FILLED_ONCE() : BENCH_FILLED_ONCE(kHaslo);
    t.app.gBaseDb.reset();
    pointSettingsAt(t.path);
    for (auto _ : state) {
        const bench::Saves alone = bench::savingDuring(t.path, haslo, [] { QThread::msleep(1000); });
        bool usable = false;
        const bench::Saves during = bench::savingDuring(
            t.path, haslo, [&] { usable = startChild(QStringLiteral("--start-up"), haslo).usable; });
        if (!usable) state.SkipWithError("the started copy ended without reaching its window");
        if (alone.made == 0) state.SkipWithError("the sqlcipher shell is needed to play another workstation");
        state.SetIterationTime(during.stepMs / 1000);
        state.counters["save alone ms"] = alone.longestMs;
        state.counters["save during ms"] = during.longestMs;
        state.counters["saves"] = during.made;
        state.counters["stored"] = during.stored;
    }
}
BENCHMARK_CAPTURE(saveDuringStartUp, Plain, QString())->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(saveDuringStartUp, Protected, kHaslo)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void printMemory(const char* what, std::optional<double> extra = std::nullopt)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    int rss = 0, peak = 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) rss = line.mid(6).trimmed().split(' ').value(0).toInt();
        if (line.startsWith("VmHWM:")) peak = line.mid(6).trimmed().split(' ').value(0).toInt();
    }
    if (extra)
        std::printf("%s %d %d %.3f\n", what, rss, peak, *extra);
    else
        std::printf("%s %d %d\n", what, rss, peak);
    std::fflush(stdout);
}

// Lets the window's thread run until the background reads are done and at least `atLeast` ms
// have passed, one pass over the queued events at a time: the longest pass, in ms, is the
// longest time a key or a click would have waited.
double longestPass(App& app, int atLeast)
{
    BackgroundDatabase& watch = backgroundDatabase(app);
    QElapsedTimer since;
    since.start();
    qint64 longest = 0;
    while (since.elapsed() < atLeast || !watch.waitIdle(0)) {
        QElapsedTimer pass;
        pass.start();
        QApplication::processEvents(QEventLoop::AllEvents);
        longest = std::max(longest, pass.nsecsElapsed());
        QThread::msleep(1);
        if (since.elapsed() > 600000) break;
    }
    return double(longest) / 1e6;
}

// The start-up mode: Main on the settings the parent wrote (the password, when the parent gives
// one, typed into the password dialog at once), then "usable" with the resident and the peak
// memory in kB and the milliseconds from the password's Return; then, once the background reads
// are done, "checked" with the memory again.
int startUp()
{
    App::setDefaultErrorReporter(
        [](App&, const QString& where, const QString&) { std::printf("error %s\n", qPrintable(where)); });
    const QString haslo = qEnvironmentVariable("ROLKWIT_BENCH_HASLO");
    Answers answers;
    answers.yes = false;  // no header definition now
    QElapsedTimer afterKey;
    answers.dialog = [&](QDialog& d) {
        auto* h = dynamic_cast<dlgBazaHaslo*>(&d);
        if (!h || haslo.isEmpty()) return 0;
        h->txtHaslo->setText(haslo);
        afterKey.start();
        h->cmdOk->click();
        return int(QDialog::Accepted);
    };
    App app;
    app.programFolder = QStringLiteral(ROLKWIT_PROGRAM_DIR);
    auto frame = Main(app, [](App& a) { return std::make_unique<MainWindow>(a); });
    QApplication::processEvents();
    if (!frame || !app.gBazaOtwarta) return 1;
    printMemory("usable", afterKey.isValid() ? double(afterKey.nsecsElapsed()) / 1e6 : -1.0);
    const double stretch = longestPass(app, kWatchedMs);
    printMemory("checked", stretch);
    // A document typed and saved into an old month as the toolbar saves it, then a moment idle
    // (the side list read again, the list counted), and the memory once more.
    bench::numberedAtSave(app);
    bench::bufferFifty(app, bench::oldMonthDay());
    auto* window = dynamic_cast<MainWindow*>(frame.get());
    if (!window) return 1;
    window->pages()->dokumenty->toolZapisz_PoBuforze();
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 1000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    backgroundDatabase(app).waitIdle(600000);
    printMemory("saved");
    return 0;
}

// A minimal Qt program: a main window with a label, shown and painted.
int minimal()
{
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Rolkwit")));
    window.resize(1024, 768);
    window.show();
    QApplication::processEvents();
    printMemory("usable", -1.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const bool child = mode == "--start-up" || mode == "--minimal";
    if (!child) qputenv("XDG_CONFIG_HOME", settingsHome().path().toUtf8());
    QApplication qapp(argc, argv);
    if (mode == "--start-up") return startUp();
    if (mode == "--minimal") return minimal();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
