#include "platform/shell.h"
#include "platform/repaint.h"
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <utility>

namespace shell {
namespace {
int gWaitMs = 5000;

// Waits up to the helper wait for `p` to end, on the event loop, so that the windows keep
// painting. The user's clicks and keys of the wait, made under the busy pointer, are dropped:
// handed in afterwards they would act on a window that has moved on (a second click on a send
// button would send again). True when it ended.
bool waitForEnd(QProcess& p)
{
    if (p.state() == QProcess::NotRunning) return true;
    ui::LongStep step;
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&p, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(gWaitMs, &loop, &QEventLoop::quit);
    if (p.state() != QProcess::NotRunning) loop.exec();
    return p.state() == QProcess::NotRunning;
}

}  // namespace

int setToolWait(int ms)
{
    return std::exchange(gWaitMs, ms);
}

Association findAssociatedProgram(const QString& filePath)
{
    if (!QFileInfo(filePath).isFile()) return Association::FileMissing;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty()) return Association::NoProgram;
    QString mime = QMimeDatabase().mimeTypeForFile(filePath).name();
    QProcess p;
    p.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mime});
    if (!waitForEnd(p) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        p.kill();
        p.waitForFinished(1000);
        return Association::NoProgram;
    }
    return p.readAllStandardOutput().trimmed().isEmpty() ? Association::NoProgram : Association::Found;
#else
    return Association::Found;
#endif
}

bool openUrl(const QUrl& url, const LateFailure& lateFailure)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Qt's own opening reports success as soon as the opener starts, whatever becomes of it:
    // the opener is run here so that its exit status counts.
    QString target = url.isLocalFile() ? url.toLocalFile() : QString::fromLatin1(url.toEncoded());
    switch (runTool(QStringLiteral("xdg-open"), {target}, lateFailure)) {
    case ToolResult::Succeeded:
    case ToolResult::StillRunning: return true;
    case ToolResult::Failed: return false;
    case ToolResult::NotFound: break;
    }
#else
    Q_UNUSED(lateFailure);
#endif
    return QDesktopServices::openUrl(url);
}

bool openFile(const QString& path, const LateFailure& lateFailure)
{
    return openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()), lateFailure);
}

ToolResult runTool(const QString& program, const QStringList& args, const LateFailure& lateFailure)
{
    QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty()) return ToolResult::NotFound;
    // Left without a parent on purpose: a process object destroyed while running would kill it.
    auto* p = new QProcess;
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(exe, args);
    if (waitForEnd(*p)) {
        const bool ok =
            p->error() != QProcess::FailedToStart && p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
        delete p;
        return ok ? ToolResult::Succeeded : ToolResult::Failed;
    }
    QObject::connect(p, &QProcess::finished, p, [p, lateFailure](int code, QProcess::ExitStatus status) {
        p->deleteLater();
        if ((code != 0 || status != QProcess::NormalExit) && lateFailure) lateFailure();
    });
    return ToolResult::StillRunning;
}

}  // namespace shell
