#include "core/mail_services.h"
#include "core/app.h"
#include "core/program_files.h"
#include "platform/busy_pointer.h"
#include "platform/mail.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include <QDir>

namespace {

void reportFailedHandOff()
{
    ui::setDefaultPointer();
    ui::msgBox(
        QStringLiteral("Program nie może przekazać wiadomości do programu pocztowego. Sprawdź, czy w systemie "
                       "jest ustawiony domyślny program pocztowy, lub zmień ustawienia programu: menu Narzędzia, "
                       "polecenie Parametry programu, zakładka Aplikacja i spróbuj ponownie."),
        ui::Buttons::Ok, ui::Icon::Critical, QStringLiteral("Błąd wysyłania poczty"));
}

QString emlPath(App& app)
{
    return WritableProgramFile(app, QStringLiteral("wiadomosc.eml"));
}

bool compose(App& app, const mail::Message& m)
{
    return mail::composeMessage(m, emlPath(app), reportFailedHandOff);
}

}  // namespace

bool MailLink(App& app, const QString& to, const QString& subject, const QString& body)
{
    return mail::openMailto({to, subject, body, {}}, emlPath(app), reportFailedHandOff);
}

bool SendOutlookMail(App& app, const QString& subject, const QString& to, const QString& body,
                     const QString& attachments)
{
    return compose(app, {to, subject, body, mail::splitAttachments(attachments)});
}

bool SendOutlook2010Mail(App& app, const QString& subject, const QString& to, const QString& body,
                         const QString& attachments)
{
    QString recipient = to.contains(QLatin1Char('@')) ? to : kPlaceholderRecipient;
    return compose(app, {recipient, subject, body, mail::splitAttachments(attachments)});
}

bool MailByMode(App& app, const QString& subject, const QString& to, const QString& body, const QString& attachments)
{
    switch (app.gPrgPar.BezMAPI) {
    case 1:
        if (mail::splitAttachments(attachments).isEmpty()) return MailLink(app, to, subject, body);
        return SendOutlookMail(app, subject, to, body, attachments);
    case 3: return SendOutlook2010Mail(app, subject, to, body, attachments);
    default: return SendOutlookMail(app, subject, to, body, attachments);
    }
}

bool MessageOpen(App&, const QString& emlPath)
{
    if (shell::openFile(emlPath, reportFailedHandOff)) return true;
    reportFailedHandOff();
    return false;
}

bool FileOpenExec(App&, const QString& file, const QString& folder, const QString& message)
{
    QString path = QDir(folder).filePath(file);
    QString shown = QDir::toNativeSeparators(path);
    switch (shell::findAssociatedProgram(path)) {
    case shell::Association::Found: return true;
    case shell::Association::NoProgram:
        ui::msgBox(message, ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("Błąd otwarcia pliku"));
        return false;
    case shell::Association::FileMissing:
        ui::msgBox(QStringLiteral("Sprawdź czy plik: ") + shown +
                       QStringLiteral(
                           " jest dostępny. Sprawdź foldery programu - menu Narzędzia, polecenie Parametry programu."),
                   ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("Błąd otwarcia pliku"));
        return false;
    }
    return false;
}

bool FileOpenShow(const QString& path)
{
    if (shell::openFile(path)) return true;
    ui::msgBox(QStringLiteral("Nie można otworzyć pliku: ") + QDir::toNativeSeparators(path), ui::Buttons::Ok,
               ui::Icon::Exclamation, QStringLiteral("Błąd otwarcia pliku"));
    return false;
}

void PytanieWyslij(App& app)
{
    ui::setBusyPointer();
    QString subject = QStringLiteral("Pytanie ") + app.title + QStringLiteral(" wersja ") + app.version;
    switch (app.gPrgPar.BezMAPI) {
    case 1: MailLink(app, app.supportAddress, subject, QString()); break;
    case 3: SendOutlook2010Mail(app, subject, app.supportAddress, QString(), QString()); break;
    default: SendOutlookMail(app, subject, app.supportAddress, QString(), QString()); break;
    }
    ui::setDefaultPointer();
}
