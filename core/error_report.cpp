#include "core/error_report.h"
#include "core/app.h"
#include "platform/app_error.h"
#include <QDebug>
#include <exception>

// Placeholder until the error dialog lands: tells what went wrong on the console.
void ErrorReport(App&, const QString& where, const QString& extra)
{
    QString text;
    try {
        if (auto e = std::current_exception()) std::rethrow_exception(e);
    } catch (const AppError& e) {
        text = QStringLiteral("%1: %2").arg(e.number()).arg(e.description());
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
    }
    qWarning().noquote() << where << extra << text;
}
