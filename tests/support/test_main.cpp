#include "core/app.h"
#include "core/error_report.h"
#include "platform/message_box.h"
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

// A test that leaves another responder in place (or none, so that the next message box would
// wait for a person) is named, the runner's own is put back, and the run fails.
class ResponderGuard : public ::testing::EmptyTestEventListener {
public:
    explicit ResponderGuard(ui::Responder* own) : own_(own) {}
    void OnTestEnd(const ::testing::TestInfo& test) override
    {
        if (ui::responder() == own_) return;
        std::fprintf(stderr, "%s.%s left a message-box responder set\n", test.test_suite_name(), test.name());
        ui::setResponder(own_);
        leaked_ = true;
    }
    bool leaked() const { return leaked_; }

private:
    ui::Responder* own_;
    bool leaked_ = false;
};

}  // namespace

// Every test binary gets a QApplication, so that widget tests and logic tests share one runner.
// Settings and data files go to a temporary folder, never to the user's; a message box or a
// dialog that a test did not expect is answered at once instead of waiting for a person.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir home;
    // Local sockets and temporary files of this run stay in its own folder, so that test runs of
    // several checkouts at once never meet.
    qputenv("TMPDIR", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath("config"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath("config"));
    ui::Responder unattended;
    unattended.dialog = [](QDialog&) { return 0; };
    ui::setResponder(&unattended);
    App::setDefaultErrorReporter(ErrorReportDialog);
    ::testing::InitGoogleTest(&argc, argv);
    auto* guard = new ResponderGuard(&unattended);
    ::testing::UnitTest::GetInstance()->listeners().Append(guard);  // owned by the listener list
    int result = RUN_ALL_TESTS();
    return guard->leaked() ? 1 : result;
}
