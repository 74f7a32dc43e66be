#include "core/app.h"
#include "core/error_report.h"
#include "platform/message_box.h"
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test binary gets a QApplication, so that widget tests and logic tests share one runner.
// Settings and data files go to a temporary folder, never to the user's; a message box or a
// dialog that a test did not expect is answered at once instead of waiting for a person.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
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
    return RUN_ALL_TESTS();
}
