#pragma once
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// Handing files, links and commands to other programs of the desktop. Every call says whether
// the other program took the request; tests replace the outside world through Hooks.
namespace shell {

enum class Association { Found, FileMissing, NoProgram };
// Whether the desktop knows a program that opens the file.
Association findAssociatedProgram(const QString& filePath);

// Opens a link or a file with the program the desktop associates with it.
bool openUrl(const QUrl& url);
bool openFile(const QString& path);

enum class ToolResult { Succeeded, Failed, StillRunning, NotFound };
// Runs a helper program and waits a little for its verdict; a helper still running after
// waitMs (a mail program it started in the foreground) keeps running and counts as started.
ToolResult runTool(const QString& program, const QStringList& args, int waitMs = 5000);

struct Hooks {
    std::function<bool(const QUrl&)> openUrl;
    std::function<ToolResult(const QString&, const QStringList&)> runTool;
    std::function<Association(const QString&)> findAssociation;
};
void setHooks(Hooks* hooks);

} // namespace shell
