#include "core/error_report_dialog.h"
#include "core/app.h"
#include "core/dlg_error.h"
#include "core/error_messages.h"
#include "core/registry.h"
#include "platform/busy_pointer.h"
#include "platform/message_box.h"
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

void errorReportDialog(App& app, const QString& where, const QString& /*extra: kept for the callers, not shown*/)
{
    ErrorInfo error = currentErrorInfo(app);
    dlgError dialog(app, QApplication::activeWindow());
    dialog.txtErrorOpis->setPlainText(error.description + QStringLiteral(" [") + where + QStringLiteral("]"));
    dialog.txtErrorNumber->setText(QString::number(error.number));
    dialog.txtErrorSource->setText(error.source);
    dialog.txtErrorSource->setCursorPosition(0);
    dialog.Obiekt = where;
    dialog.txtErrorPolski->setPlainText(ErrorMsgRead(app, errorSection(app, error), error.number));
    dialog.cbrejestr->setChecked(RegRead(app.gRegProgramKey, QStringLiteral("Zapisz błędy"), QStringLiteral("0")) ==
                                 QLatin1String("1"));
    ui::setDefaultPointer();
    ui::execDialog(dialog);
}
