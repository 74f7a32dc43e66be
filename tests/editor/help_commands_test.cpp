#include "editor/help_commands.h"
#include "core/app.h"
#include "support/fake_tools.h"
#include "support/scoped_responder.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The help file, the manual, the web page and the upgrade program, opened when they are there.

TEST(HelpCommands, FilesOpenWhenTheyAndTheirViewerAreThereAndTheUserIsToldOtherwise)
{
    QTemporaryDir folder;
    App app;
    app.programFolder = folder.path();
    app.helpFile = folder.filePath("Rolkwit.chm");
    ScopedResponder r;
    struct Case {
        const char* name;
        std::function<void(App&)> command;
        QString opened;  // the file or address handed to the desktop
        bool shipped;
        QString viewer;  // what the desktop names for the file's type
        int openExit;
        QString message;  // the start of what the user is told
    } cases[] = {
        {"help", mnuPomocSpis_Click, folder.filePath("Rolkwit.chm"), true, "xchm.desktop", 0, ""},
        {"no help viewer", mnuPomocSpis_Click, "", true, "", 0,
         "Aby otworzyć pliki pomocy wymagane jest zainstalowanie systemu pomocy HTML Help (hhupd.exe). Program do "
         "pobrania "
         "pod adresem: www.brenik.example"},
        {"manual, the viewer fails", mnuPomocPodrecznik_Click, folder.filePath("Rolkwit.pdf"), true, "evince.desktop",
         2, "Nie można otworzyć pliku: "},
        {"web page, no browser", mnuPomocInternet_Click, "http://www.brenik.example", false, "", 3,
         "Nie można otworzyć strony internetowej programu: www.brenik.example"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* name : {"Rolkwit.chm", "Rolkwit.pdf"}) {
            QFile f(folder.filePath(name));
            if (c.shipped)
                f.open(QIODevice::WriteOnly);
            else
                f.remove();
        }
        r.seen.clear();
        FakeTools tools;
        tools.add("xdg-mime", 0, c.viewer);
        tools.add("xdg-open", c.openExit);
        c.command(app);
        EXPECT_EQ(tools.calls("xdg-open"), c.opened.isEmpty() ? QList<QStringList>() : QList<QStringList>{{c.opened}});
        EXPECT_EQ(r.seen.size(), c.message.isEmpty() ? 0u : 1u);
        if (!r.seen.empty()) {
            EXPECT_TRUE(r.seen[0].text.startsWith(c.message)) << r.seen[0].text.toStdString();
        }
    }
}

TEST(HelpCommands, UpgradeProgramIsStartedWhenThereWithTheCaptionOnlyForItsOldVersions)
{
    QTemporaryDir folder;
    App app;
    app.programFolder = folder.path();
    ScopedResponder r;
    mnuNarzAktual_Click(app, "Rolkwit");
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text,
              "Nie można zlokalizować pliku Upgrade.exe. Plik ten powinien znajdować się w katalogu programu: " +
                  QDir::toNativeSeparators(folder.path()));

    // The stand-in writes what it was given beside itself.
    QFile program(folder.filePath(kUpgradeProgram));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\necho \"$#:$*\" > \"${0%/*}/ran.txt\"\n");
    program.close();
    program.setPermissions(program.permissions() | QFileDevice::ExeOwner);
    for (const auto& [dated, args] :
         {std::pair{QDate(2005, 10, 19), QString("1:Rolkwit")}, {QDate(2005, 10, 20), QString("0:")}}) {
        SCOPED_TRACE(args.toStdString());
        QFile ran(folder.filePath("ran.txt"));
        ran.remove();
        ASSERT_TRUE(program.open(QIODevice::ReadOnly));
        program.setFileTime(QDateTime(dated, QTime(12, 0)), QFileDevice::FileModificationTime);
        program.close();
        mnuNarzAktual_Click(app, "Rolkwit");
        ASSERT_TRUE(FakeTools::waitFor([&] { return ran.size() > 0; }));
        ASSERT_TRUE(ran.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(ran.readAll()).trimmed(), args);
    }
    EXPECT_EQ(r.seen.size(), 1u);
}
