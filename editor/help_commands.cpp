#include "editor/help_commands.h"
#include "core/app.h"
#include "core/mail_services.h"
#include "core/program_files.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

void mnuPomocSpis_Click(App& app)
{
    if (!FileOpenExec(app, QStringLiteral("Rolkwit.chm"), app.programFolder,
                      QStringLiteral("Aby otworzyć pliki pomocy wymagane jest zainstalowanie systemu pomocy HTML Help "
                                     "(hhupd.exe). Program do pobrania pod adresem: ") +
                          app.webAddress))
        return;
    fileOpenShow(app.helpFile.isEmpty() ? programFile(app, QStringLiteral("Rolkwit.chm")) : app.helpFile);
}

void mnuPomocPodrecznik_Click(App& app)
{
    if (!FileOpenExec(app, QStringLiteral("Rolkwit.pdf"), app.programFolder,
                      QStringLiteral("Aby otworzyć podręcznik użytkownika wymagane jest zainstalowanie przeglądarki "
                                     "Acrobat Reader. Program do pobrania pod adresem: ") +
                          app.webAddress))
        return;
    fileOpenShow(programFile(app, QStringLiteral("Rolkwit.pdf")));
}

void mnuPomocInternet_Click(App& app)
{
    if (shell::openUrl(QUrl::fromUserInput(app.webAddress))) return;
    ui::msgBox(QStringLiteral("Nie można otworzyć strony internetowej programu: ") + app.webAddress +
                   QStringLiteral(". Sprawdź, czy w systemie jest ustawiona domyślna przeglądarka internetowa."),
               ui::Buttons::Ok, ui::Icon::Exclamation);
}

void mnuNarzAktual_Click(App& app, const QString& caption)
{
    const QString path = programFile(app, kUpgradeProgram);
    const QFileInfo file(path);
    if (!file.isFile()) {
        ui::msgBox(
            QStringLiteral("Nie można zlokalizować pliku Upgrade.exe. Plik ten powinien znajdować się w katalogu "
                           "programu: ") +
                QDir::toNativeSeparators(app.programFolder),
            ui::Buttons::Ok, ui::Icon::Critical);
        return;
    }
    // Upgrade programs of before that day expect the caption of the window they upgrade.
    const bool old = file.lastModified() < QDateTime(QDate(2005, 10, 20), QTime(0, 0));
    if (QProcess::startDetached(path, old ? QStringList{caption} : QStringList(), app.programFolder)) return;
    ui::msgBox(QStringLiteral("Nie można uruchomić programu ") + QDir::toNativeSeparators(path) +
                   QStringLiteral(". Sprawdź, czy plik jest programem i czy wolno go uruchomić."),
               ui::Buttons::Ok, ui::Icon::Critical);
}
