#include "support/fake_tools.h"
#include "platform/shell.h"
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

FakeTools::FakeTools() : oldPath_(qgetenv("PATH")), oldWait_(shell::setToolWait(kWaitMs))
{
    qputenv("PATH", dir_.path().toLocal8Bit());
}

FakeTools::~FakeTools()
{
    qputenv("PATH", oldPath_);
    shell::setToolWait(oldWait_);
}

bool FakeTools::waitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) QTest::qWait(20);
    return done();
}

void FakeTools::add(const QString& name, int exitCode, const QString& output, double seconds)
{
    // Arguments are kept NUL-separated, calls separated by \001, so that line breaks survive.
    QFile out(dir_.filePath(name + ".out"));
    out.open(QIODevice::WriteOnly);
    out.write(output.toUtf8());
    out.close();
    const QString base = dir_.filePath(name);
    QFile script(base);
    script.open(QIODevice::WriteOnly);
    script.write(QStringLiteral("#!/bin/sh\n"
                                "for a in \"$@\"; do printf '%s\\0' \"$a\"; done >> '%1.calls'\n"
                                "printf '\\001' >> '%1.calls'\n"
                                "/bin/cat '%1.out'\n"
                                "/bin/sleep %2\n"
                                "exit %3\n")
                     .arg(base)
                     .arg(seconds)
                     .arg(exitCode)
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QList<QStringList> FakeTools::calls(const QString& name) const
{
    QFile f(dir_.filePath(name + ".calls"));
    QList<QStringList> out;
    if (!f.open(QIODevice::ReadOnly)) return out;
    for (const QByteArray& call : f.readAll().split('\001')) {
        QStringList args;
        for (const QByteArray& a : call.split('\0')) args << QString::fromUtf8(a);
        args.removeLast();  // the text after the last NUL
        out << args;
    }
    out.removeLast();  // the text after the last call
    return out;
}
