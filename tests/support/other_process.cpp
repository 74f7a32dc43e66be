#include "support/other_process.h"
#include <QStandardPaths>

OtherProcess::OtherProcess(const QString& path, const QString& sql, const QString& password)
{
    QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (shell.isEmpty()) return;
    process_.setProgram(shell);
    process_.setArguments({path});
    process_.start();
    if (!process_.waitForStarted(5000)) return;
    QString start = password.isEmpty() ? QString() : QStringLiteral("PRAGMA key = '%1';\n").arg(password);
    process_.write(start.toUtf8());
    ready_ = run(sql);
}

bool OtherProcess::run(const QString& sql)
{
    QByteArray mark = "mark-" + QByteArray::number(++marks_);
    process_.write((sql + QStringLiteral("\nSELECT '") + QString::fromLatin1(mark) + QStringLiteral("';\n")).toUtf8());
    QByteArray out;
    while (!out.contains(mark)) {
        if (!process_.waitForReadyRead(5000)) return false;
        out += process_.readAllStandardOutput();
    }
    return true;
}

OtherProcess::~OtherProcess()
{
    if (process_.state() == QProcess::NotRunning) return;
    process_.closeWriteChannel();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}
