#include "platform/shell.h"
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace shell {
namespace {
Hooks* gHooks = nullptr;
}

void setHooks(Hooks* hooks) { gHooks = hooks; }

Association findAssociatedProgram(const QString& filePath)
{
    if (gHooks && gHooks->findAssociation) return gHooks->findAssociation(filePath);
    if (!QFileInfo(filePath).isFile()) return Association::FileMissing;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty()) return Association::NoProgram;
    QString mime = QMimeDatabase().mimeTypeForFile(filePath).name();
    QProcess p;
    p.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mime});
    if (!p.waitForFinished(5000) || p.exitCode() != 0) return Association::NoProgram;
    return p.readAllStandardOutput().trimmed().isEmpty() ? Association::NoProgram : Association::Found;
#else
    return Association::Found;
#endif
}

bool openUrl(const QUrl& url)
{
    if (gHooks && gHooks->openUrl) return gHooks->openUrl(url);
    return QDesktopServices::openUrl(url);
}

bool openFile(const QString& path)
{
    return openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

ToolResult runTool(const QString& program, const QStringList& args, int waitMs)
{
    if (gHooks && gHooks->runTool) return gHooks->runTool(program, args);
    QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty()) return ToolResult::NotFound;
    // Left without a parent on purpose: a process object destroyed while running would kill it.
    auto* p = new QProcess;
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(exe, args);
    if (!p->waitForStarted(waitMs)) { delete p; return ToolResult::Failed; }
    if (p->waitForFinished(waitMs)) {
        bool ok = p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
        delete p;
        return ok ? ToolResult::Succeeded : ToolResult::Failed;
    }
    QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
    return ToolResult::StillRunning;
}

} // namespace shell
