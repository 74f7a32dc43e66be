#pragma once
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// Handing files, links and commands to other programs of the desktop. Every call says whether
// the other program took the request. A helper is waited for a few seconds; one still running
// then (a mail program it keeps in the foreground) counts as having taken it, and when it ends
// later with a failure, `lateFailure` runs from the event loop.
namespace shell {

using LateFailure = std::function<void()>;

enum class Association { Found, FileMissing, NoProgram };
// Whether the desktop knows a program that opens the file.
Association findAssociatedProgram(const QString& filePath);

// Opens a link or a file with the program the desktop associates with it (xdg-open), and waits
// for its verdict.
bool openUrl(const QUrl& url, const LateFailure& lateFailure = {});
bool openFile(const QString& path, const LateFailure& lateFailure = {});

enum class ToolResult { Succeeded, Failed, StillRunning, NotFound };
// Runs a helper program found on PATH and waits for its verdict (see above).
ToolResult runTool(const QString& program, const QStringList& args, const LateFailure& lateFailure = {});

// How long a helper is waited for, 5 s unless set (tests shorten it); gives the previous wait.
int setToolWait(int ms);

}  // namespace shell
