#pragma once
#include <QByteArray>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

// A run's own folder for settings, data, local sockets and temporary files, never the user's,
// so that runs of several checkouts at once never meet. Made before the application object (the
// environment it reads); settle() after it (the settings' paths).
class PrivateHome {
public:
    PrivateHome()
    {
        // The test mode's writable folders lie under the home folder: each run gets its own.
        qputenv("HOME", home_.path().toUtf8());
        qputenv("TMPDIR", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", home_.filePath("data").toUtf8());
        QStandardPaths::setTestModeEnabled(true);
    }
    void settle() const
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home_.filePath("config"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home_.filePath("config"));
    }

    // Windows drawn offscreen unless QT_QPA_PLATFORM names another platform.
    static void offscreenUnlessSet()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    }

private:
    QTemporaryDir home_;
};
