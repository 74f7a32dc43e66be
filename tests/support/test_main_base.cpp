#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The runner of the tests of code without windows: a QCoreApplication only, so that nothing
// under test can reach a widget. Settings and data files go to a temporary folder.
int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("TMPDIR", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath("config"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath("config"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
