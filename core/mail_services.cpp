#include "core/mail_services.h"
#include "core/app.h"
#include "core/error_report.h"
#include "core/program_files.h"
#include "platform/app_error.h"
#include "platform/busy_pointer.h"
#include "platform/mail.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// What the user is told when no mail program took the message: the program's own text, or the
// text the mode's own routine gives for its failure. A mode whose routine has an error handler
// (`where`) tells it through the error dialog, under the routine's name.
struct FailureText {
    QString text;
    QString title;
    QString where;
};

FailureText handOffFailure()
{
    return {QStringLiteral("Program nie może przekazać wiadomości do programu pocztowego. Sprawdź, czy w systemie jest "
                           "ustawiony domyślny program pocztowy, lub zmień ustawienia programu: menu Narzędzia, "
                           "polecenie Parametry programu, zakładka Aplikacja i spróbuj ponownie."),
            QStringLiteral("Błąd wysyłania poczty"),
            {}};
}

FailureText composingModeFailure()
{
    return {QStringLiteral("Program nie może wysłać pocztę elektroniczną stosując aplikację MS Outlook. Zmień "
                           "ustawienia programu: menu Narzędzia, polecenie Parametry programu, zakładka Aplikacja i "
                           "spróbuj ponownie."),
            QStringLiteral("Błąd nr %1").arg(err::kCannotCreateObject),
            {}};
}

FailureText errorHandlerFailure(const QString& where)
{
    FailureText f = handOffFailure();
    f.where = where;
    return f;
}

// Tells one failure: in a message box, or through the error dialog as error `number`.
void tell(App& app, const FailureText& failure, long number, const QString& text, ui::Icon icon)
{
    ui::setDefaultPointer();
    if (failure.where.isEmpty()) {
        ui::msgBox(text, ui::Buttons::Ok, icon, failure.title);
        return;
    }
    try {
        throw AppError(number, failure.where, text);
    } catch (...) {
        ErrorReport(app, failure.where);
    }
}

// Says that nothing took the message and where the unsent message file was left, so that the
// user can send it another way.
mail::Failed reportFailure(App& app, const FailureText& failure, const QString& wanted)
{
    return [&app, failure, wanted](const QString& leftAt) {
        const QString where =
            leftAt.isEmpty()
                ? QStringLiteral("Nie udało się zapisać wiadomości w pliku: ") + QDir::toNativeSeparators(wanted)
                : QStringLiteral("Niewysłana wiadomość została zapisana w pliku: ") + QDir::toNativeSeparators(leftAt);
        tell(app, failure, err::kCannotCreateObject, failure.text + QStringLiteral("\r\n\r\n") + where,
             ui::Icon::Critical);
    };
}

// Whether the user running the program owns the file; everywhere but on Unix, the folder of the
// user's data is theirs.
bool ownedHere(const QFileInfo& f)
{
#ifdef Q_OS_UNIX
    return f.ownerId() == ::getuid();
#else
    Q_UNUSED(f);
    return true;
#endif
}

// Message files are written among the user's data, each under a name of its own.
QString emlPath()
{
    return userDataFile(QStringLiteral("wiadomosc.eml"));
}

bool compose(App& app, const mail::Message& m, const FailureText& failure)
{
    const QStringList unreadable = mail::unreadableAttachments(m);
    if (!unreadable.isEmpty()) {
        QStringList shown;
        for (const QString& path : unreadable) shown << QDir::toNativeSeparators(path);
        FailureText own = failure;
        own.title = handOffFailure().title;
        tell(app, own, err::kFileNotFound,
             QStringLiteral("Nie można odczytać załącznika: ") + shown.join(QStringLiteral(", ")) +
                 QStringLiteral(". Wiadomość nie została przekazana do programu pocztowego."),
             ui::Icon::Exclamation);
        return false;
    }
    const QString path = emlPath();
    return mail::composeMessage(m, path, reportFailure(app, failure, path));
}

}  // namespace

bool mailLink(App& app, const QString& to, const QString& subject, const QString& body)
{
    const QString path = emlPath();
    return mail::openMailto({to, subject, body, {}}, path, reportFailure(app, handOffFailure(), path));
}

bool SendOutlookMail(App& app, const QString& subject, const QString& to, const QString& body,
                     const QString& attachments)
{
    return compose(app, {to, subject, body, mail::splitAttachments(attachments)}, composingModeFailure());
}

bool SendOutlook2010Mail(App& app, const QString& subject, const QString& to, const QString& body,
                         const QString& attachments)
{
    QString recipient = to.contains(QLatin1Char('@')) ? to : kPlaceholderRecipient;
    return compose(app, {recipient, subject, body, mail::splitAttachments(attachments)},
                   errorHandlerFailure(QStringLiteral("SendOutlook2010Mail")));
}

bool mailByMode(App& app, const QString& subject, const QString& to, const QString& body, const QString& attachments)
{
    switch (app.gPrgPar.BezMAPI) {
    case 1:
        // A link carries no files: with attachments the message is composed as in mode 0.
        if (mail::splitAttachments(attachments).isEmpty()) return mailLink(app, to, subject, body);
        break;
    case 2: return SendOutlookMail(app, subject, to, body, attachments);
    case 3: return SendOutlook2010Mail(app, subject, to, body, attachments);
    default: break;
    }
    return compose(app, {to, subject, body, mail::splitAttachments(attachments)}, handOffFailure());
}

QString sendingFolder()
{
    const QString pattern = userDataFile(QStringLiteral("wysylka-XXXXXX"));
    const QDateTime dayAgo = QDateTime::currentDateTime().addDays(-1);
    // Only the program's own folders go: never what a link of that name points to, nor a folder
    // of another user.
    for (const QFileInfo& old :
         QFileInfo(pattern).dir().entryInfoList({QStringLiteral("wysylka-*")}, QDir::Dirs | QDir::NoDotAndDotDot))
        if (!old.isSymLink() && ownedHere(old) && old.lastModified() < dayAgo) QDir(old.filePath()).removeRecursively();
    QTemporaryDir folder(pattern);
    if (!folder.isValid()) return QString();
    folder.setAutoRemove(false);
    return folder.path();
}

bool messageOpen(App& app, const QString& emlPath)
{
    const mail::Failed failed = reportFailure(app, handOffFailure(), emlPath);
    if (shell::openFile(emlPath, [failed, emlPath] { failed(emlPath); })) return true;
    failed(emlPath);
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

bool fileOpenShow(const QString& path)
{
    if (shell::openFile(path)) return true;
    ui::msgBox(QStringLiteral("Nie można otworzyć pliku: ") + QDir::toNativeSeparators(path), ui::Buttons::Ok,
               ui::Icon::Exclamation, QStringLiteral("Błąd otwarcia pliku"));
    return false;
}

void PytanieWyslij(App& app)
{
    ui::setBusyPointer();
    mailByMode(app, QStringLiteral("Pytanie ") + app.title + QStringLiteral(" wersja ") + app.version,
               app.supportAddress, QString(), QString());
    ui::setDefaultPointer();
}
