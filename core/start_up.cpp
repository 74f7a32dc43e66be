#include "core/start_up.h"
#include "core/app.h"
#include "core/error_report.h"
#include "core/frm_splash.h"
#include "core/main_frame.h"
#include "core/prg_par_read.h"
#include "core/registry.h"
#include "core/start_database.h"
#include "platform/busy_pointer.h"
#include "platform/instance_channel.h"
#include "platform/process_memory.h"
#include "platform/repaint.h"
#include "platform/settings_store.h"
#include <QApplication>
#include <limits>
#include <optional>

namespace {

// Start-up goes on past a failing step.
template <typename F>
void step(F&& f)
{
    try {
        f();
    } catch (...) {
    }
}

}  // namespace

std::unique_ptr<MainFrame> Main(App& app, const MainFrameFactory& createMainWindow)
{
    std::unique_ptr<MainFrame> frame;
    memory::returnLargeBuffers();
    step([&] {
        app.gProgramKod = QStringLiteral("FR");
        app.gStanowisko = 0;
    });
    // Until the database is open the window is busy: what the user gives meanwhile is dropped,
    // but for the answers to the dialogs the opening shows.
    std::optional<ui::LongStep> opening(std::in_place);
    step([&] {
        auto* splash = new frmSplash(app);
        app.splash = splash;
        splash->show();
        ui::repaintNow();
    });
    // The settings that a first start stores with their defaults reach the file together.
    auto settingsWritten = std::make_optional<settings::WriteBatch>();
    step([&] {
        RegPakietKeyCreate(app);
        RegPakietKeyOpen(app);
    });
    step([&] { PrgParRead(app); });
    bool otherCopy = false;
    step([&] { otherCopy = InstanceCheck(app); });
    if (otherCopy) {
        settingsWritten.reset();
        splashUnload(app);
        opening.reset();
        return nullptr;
    }
    step([&] { HelpFileSet(app); });
    step([&] {
        frame = createMainWindow(app);
        app.mainFrame = frame.get();
        frame->Form_Load();
    });
    step([&] {
        QString s = RegRead(app.gRegProgramKey, QStringLiteral("Stanowisko"), settingText(PrgPar().Stanowisko));
        app.gStanowisko =
            int(numericValue(s, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()).value_or(0));
    });
    // Before the database is opened, which may ask the user something.
    settingsWritten.reset();
    step([] {
        ui::repaintNow();
        ui::setBusyPointer();
    });
    step([&] {
        bool attached = false;
        if (!app.gPrgPar.BazaPlik.isEmpty() && openStartDatabase(app, databasePasswordPrompt(app)) &&
            app.gBazaOtwarta && app.mainFrame) {
            app.mainFrame->Przylacz();
            attached = true;
        }
        if (!attached) MenuBaseEnable(app, false);
    });
    step([&] { opening.reset(); });
    step([&] {
        if (app.gBazaOtwarta) {
            offerPeriodicBackup(app, programBackupSettings(app));
            ui::repaintNow();
        }
    });
    return frame;
}

bool InstanceCheck(App& app)
{
    try {
        QString several = RegRead(app.gRegProgramKey, QStringLiteral("Instancje"), settingText(PrgPar().Instancje));
        if (!app.instanceChannel) {
            app.instanceChannel = std::make_unique<InstanceChannel>(app.title);
            QObject::connect(app.instanceChannel.get(), &InstanceChannel::activationRequested, [&app] {
                if (!app.mainFrame) return;
                QWidget* w = app.mainFrame->frameWidget();
                w->showMaximized();
                w->raise();
                w->activateWindow();
            });
        }
        if (several != QLatin1String("1") && app.instanceChannel->signalRunningCopy()) return true;
        app.instanceChannel->listen();  // so that later copies find this one
    } catch (...) {
        ErrorReport(app, QStringLiteral("InstanceCheck"));  // and the program starts as the only copy
    }
    return false;
}

void MenuBaseEnable(App& app, bool enable)
{
    if (app.mainFrame) app.mainFrame->MenuBaseEnable(enable);
}
