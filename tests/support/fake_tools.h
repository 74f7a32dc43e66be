#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// Stand-ins for the desktop's helper programs (xdg-open, xdg-email, xdg-mime) for one test: real
// shell scripts in a folder that becomes the whole PATH until the object goes, so that a helper
// not added is not found at all. Each records the arguments of every call, prints its output,
// waits and ends with its exit code. Helpers are waited for a short time meanwhile.
class FakeTools {
public:
    FakeTools();
    ~FakeTools();
    FakeTools(const FakeTools&) = delete;
    FakeTools& operator=(const FakeTools&) = delete;

    void add(const QString& name, int exitCode, const QString& output = QString(), double seconds = 0);
    // The arguments of each call of `name` so far, in order.
    QList<QStringList> calls(const QString& name) const;

    static constexpr int kWaitMs = 300;

    // Lets the event loop run until `done` holds or `ms` have passed; gives `done`'s last answer.
    static bool waitFor(const std::function<bool()>& done, int ms = 5000);

private:
    QTemporaryDir dir_;
    QByteArray oldPath_;
    int oldWait_;
};
