// The program's start-up to a usable window over the filled database: Main in this process, and
// the program started as a process of its own, with the memory it then holds.
#include "bench_fill.h"
#include "core/main_frame.h"
#include "core/registry.h"
#include "core/start_up.h"
#include "editor/main_window.h"
#include "support/answers.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

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
    bench::FilledDatabase& t = BENCH_FILLED_ONCE();
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
    bench::FilledDatabase& t = BENCH_FILLED_ONCE();
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
