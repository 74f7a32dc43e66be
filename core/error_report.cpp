#include "core/error_report.h"
#include "core/app.h"
#include "platform/app_error.h"
#include <QDebug>

namespace {

App::ErrorReporter& processDefault()
{
    static App::ErrorReporter reporter;
    return reporter;
}

// Without the program's reporter the error is at least in the log.
void logError(const QString& where)
{
    QString text = QStringLiteral("unknown error");
    try {
        if (auto current = std::current_exception()) std::rethrow_exception(current);
    } catch (const AppError& x) {
        text = QStringLiteral("%1 %2: %3").arg(x.number()).arg(x.source(), x.details());
    } catch (const std::exception& x) {
        text = QString::fromUtf8(x.what());
    } catch (...) {
    }
    qWarning().noquote() << "error in" << where << "-" << text;
}

long currentErrorNumber()
{
    try {
        if (auto current = std::current_exception()) std::rethrow_exception(current);
    } catch (const AppError& x) {
        return x.number();
    } catch (...) {
    }
    return 0;
}

}  // namespace

void App::setDefaultErrorReporter(ErrorReporter reporter)
{
    processDefault() = std::move(reporter);
}

App::ErrorReporter App::defaultErrorReporter()
{
    return processDefault();
}

void ErrorReport(App& app, const QString& where, const QString& extra)
{
    // What fails on the program's database once it met a damaged page follows from that: the
    // damage is told once, when the file is let go (databaseDamaged).
    // Likewise a file changed under the program is told once (databaseChanged).
    const long number = currentErrorNumber();
    if (app.gBaseDb && ((app.gBaseDb->isDamaged() && number == err::kDamaged) ||
                        (app.gBaseDb->isChanged() && number == err::kFileReplaced))) {
        logError(where);
        return;
    }
    if (app.errorReporter)
        app.errorReporter(app, where, extra);
    else
        logError(where);
}

void runCommand(App& app, const QString& where, const std::function<void()>& command)
{
    try {
        command();
    } catch (...) {
        ErrorReport(app, where);
    }
}
