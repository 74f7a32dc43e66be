#pragma once
#include <QProcess>
#include <QString>

// Another workstation, played by a separate process (the sqlcipher shell) that keeps the
// database file open and runs `sql` on it, holding whatever locks that takes until destroyed.
class OtherProcess {
public:
    OtherProcess(const QString& path, const QString& sql, const QString& password = QString());
    ~OtherProcess();
    // False when the shell is not installed or did not confirm that it ran the statements.
    bool ready() const { return ready_; }
    // Runs more statements in the same session and waits until they are done.
    bool run(const QString& sql);

private:
    QProcess process_;
    bool ready_ = false;
    int marks_ = 0;
};
