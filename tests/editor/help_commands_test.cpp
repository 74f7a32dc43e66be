#include "core/app.h"
#include "editor/help_commands.h"
#include "support/fake_tools.h"
#include "support/scoped_responder.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// The help files, the web page and the upgrade program, opened when they are there.

namespace {

struct HelpFixture : ::testing::Test {
    QTemporaryDir folder;
    App app;
    ScopedResponder r;

    void SetUp() override
    {
        app.programFolder = folder.path();
        app.helpFile = folder.filePath("Rolkwit.chm");
    }
    void ship(const QString& name)
    {
        QFile f(folder.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("zawartość");
    }
};

} // namespace

TEST_F(HelpFixture, HelpAndManualOpenWhenTheyAndAViewerAreThereAndSaySoOtherwise)
{
    struct Case {
        const char* name;
        std::function<void(App&)> command;
        QString file;
        bool shipped;
        QString viewer;  // what the desktop names for the file's type; empty: nothing
        int openExit;
        QString message;  // the start of what the user is told; empty: nothing
    } cases[] = {
        {"contents", mnuPomocSpis_Click, "Rolkwit.chm", true, "xchm.desktop", 0, ""},
        {"contents, help file missing", mnuPomocSpis_Click, "Rolkwit.chm", false, "xchm.desktop", 0, "Sprawdź czy plik: "},
        {"contents, no viewer", mnuPomocSpis_Click, "Rolkwit.chm", true, "", 0,
         "Aby otworzyć pliki pomocy wymagane jest zainstalowanie systemu pomocy HTML Help (hhupd.exe). Program do "
         "pobrania pod adresem: www.brenik.example"},
        {"contents, the viewer fails", mnuPomocSpis_Click, "Rolkwit.chm", true, "xchm.desktop", 2, "Nie można otworzyć pliku: "},
        {"manual", mnuPomocPodrecznik_Click, "Rolkwit.pdf", true, "evince.desktop", 0, ""},
        {"manual missing", mnuPomocPodrecznik_Click, "Rolkwit.pdf", false, "evince.desktop", 0, "Sprawdź czy plik: "},
        {"manual, no reader", mnuPomocPodrecznik_Click, "Rolkwit.pdf", true, "", 0,
         "Aby otworzyć podręcznik użytkownika wymagane jest zainstalowanie przeglądarki Acrobat Reader. Program do pobrania "
         "pod adresem: www.brenik.example"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(folder.filePath(c.file));
        if (c.shipped) ship(c.file);
        r.seen.clear();
        FakeTools tools;
        tools.add("xdg-mime", 0, c.viewer);
        tools.add("xdg-open", c.openExit);
        c.command(app);
        const bool opened = c.shipped && !c.viewer.isEmpty();
        EXPECT_EQ(tools.calls("xdg-open"), opened ? QList<QStringList>{{folder.filePath(c.file)}} : QList<QStringList>());
        if (c.message.isEmpty()) {
            EXPECT_TRUE(r.seen.empty()) << r.texts().join(" | ").toStdString();
        } else {
            ASSERT_EQ(r.seen.size(), 1u);
            EXPECT_TRUE(r.seen[0].text.startsWith(c.message)) << r.seen[0].text.toStdString();
        }
    }
}

TEST_F(HelpFixture, WebPageIsTheProgramsOwnAddress)
{
    for (int exit : {0, 1}) {
        SCOPED_TRACE(exit);
        r.seen.clear();
        FakeTools tools;
        tools.add("xdg-open", exit);
        mnuPomocInternet_Click(app);
        EXPECT_EQ(tools.calls("xdg-open"), QList<QStringList>{{"http://www.brenik.example"}});
        EXPECT_EQ(r.seen.size(), exit == 0 ? 0u : 1u);
    }
}

TEST_F(HelpFixture, UpgradeProgramIsStartedWhenThereWithTheCaptionOnlyForOldVersions)
{
    mnuNarzAktual_Click(app, "Rolkwit");
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text, "Nie można zlokalizować pliku Upgrade.exe. Plik ten powinien znajdować się w katalogu programu: "
                                  + QDir::toNativeSeparators(folder.path()));
    EXPECT_EQ(r.seen[0].icon, ui::Icon::Critical);

    // The upgrade program writes what it was given beside itself.
    QFile program(folder.filePath(kUpgradeProgram));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\necho \"$#:$*\" > \"${0%/*}/ran.txt\"\n");
    program.close();
    program.setPermissions(program.permissions() | QFileDevice::ExeOwner);
    const QString ran = folder.filePath("ran.txt");
    auto started = [&] {
        QFile f(ran);
        return FakeTools::waitFor([&] { return f.exists() && f.size() > 0; }) && f.open(QIODevice::ReadOnly)
            ? QString::fromUtf8(f.readAll()).trimmed()
            : QString("(not started)");
    };
    const std::pair<QDate, QString> versions[] = {{QDate(2005, 10, 19), "1:Rolkwit"}, {QDate(2005, 10, 20), "0:"}};
    for (const auto& [dated, args] : versions) {
        SCOPED_TRACE(dated.toString().toStdString());
        QFile::remove(ran);
        ASSERT_TRUE(program.open(QIODevice::ReadOnly));
        program.setFileTime(QDateTime(dated, QTime(12, 0)), QFileDevice::FileModificationTime);
        program.close();
        r.seen.clear();
        mnuNarzAktual_Click(app, "Rolkwit");
        EXPECT_EQ(started(), args);
        EXPECT_TRUE(r.seen.empty());
    }
}
