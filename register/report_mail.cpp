#include "register/report_mail.h"
#include "core/app.h"
#include "platform/message_box.h"

QString ReportMail(App& app, const QString&, const QString&)
{
    ui::msgBox(QStringLiteral("Wysyłanie dokumentu w treści wiadomości nie jest jeszcze dostępne. Wyślij dokument jako plik PDF."),
               ui::Buttons::Ok, ui::Icon::Information, app.title);
    return QString();
}
