#include "editor/main_window.h"
#include "core/app.h"
#include "core/frm_splash.h"
#include "core/registry.h"
#include "core/start_up.h"
#include "editor/entry_page.h"
#include "editor/main_pages.h"
#include "platform/instance_channel.h"
#include "platform/settings_store.h"
#include "support/scoped_responder.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

MainFrameFactory factory()
{
    return [](App& a) { return std::make_unique<MainWindow>(a); };
}

QSet<QString> disabledActions(QWidget& w)
{
    QSet<QString> names;
    for (QAction* a : w.findChildren<QAction*>())
        if (a->isVisible() && !a->isEnabled()) names << a->objectName();
    return names;
}

// A title of its own per test, so that no test meets another's running copy or settings.
QString testTitle(const char* name)
{
    return QStringLiteral("Rolkwit%1%2").arg(QString::fromLatin1(name)).arg(QCoreApplication::applicationPid());
}

}  // namespace

TEST(MainWindowFrame, MenusToolbarsAndPopupsAreNamedAndCaptioned)
{
    App app;
    MainWindow w(app);
    EXPECT_EQ(w.objectName(), "mdiMenu");
    EXPECT_EQ(w.windowTitle(), "Rolkwit");
    QStringList visibleMenus;
    for (QAction* a : w.menuBar()->actions())
        if (a->isVisible()) visibleMenus << a->text();
    EXPECT_EQ(visibleMenus, QStringList({"&Baza", "&Edycja", "&Narzędzia", "&Pomoc"}));
    EXPECT_FALSE(w.mnuPopKartoteka->menuAction()->isVisible());
    EXPECT_EQ(w.mnuPopKarWyslij->objectName(), "mnuPopKarWyślij");
    EXPECT_EQ(w.mnuBazaPodglad->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(MainWindow::toolButton(w.toolWprowadz, 3)->text(), "Wykres zakupów          ");
    EXPECT_EQ(MainWindow::toolButton(w.toolZapisz, 3)->objectName(), "Wyslij");
    EXPECT_TRUE(w.btnWprowadzanie->isChecked());
    EXPECT_TRUE(w.btnDokument->isChecked());
    EXPECT_TRUE(w.btnSzerokosc->isChecked());
}

TEST(MainWindowFrame, MenuBaseEnableSwitchesExactlyTheDatabaseCommands)
{
    App app;
    MainWindow w(app);
    EXPECT_TRUE(disabledActions(w).isEmpty());
    w.MenuBaseEnable(false);
    EXPECT_EQ(disabledActions(w), QSet<QString>({"mnuBazaPodglad", "mnuBazaDrukuj", "mnuBazaWlas", "mnuNarzParDok",
                                                 "mnuNarzParProg", "Wprowadzanie", "Kartoteka", "Wykres", "Dokument",
                                                 "Podglad", "Zapisz", "Drukuj", "Wyslij"}));
    w.MenuBaseEnable(true);
    EXPECT_TRUE(disabledActions(w).isEmpty());
    w.pages()->picWprowadzanie->setPreviewAvailable(false);
    w.mnuBaza_Click();  // opening the menu follows the toolbar
    EXPECT_FALSE(w.mnuBazaPodglad->isEnabled());
    EXPECT_TRUE(w.mnuBazaDrukuj->isEnabled());
}

TEST(MainWindowFrame, AboutCommandShowsTheAboutBox)
{
    App app;
    MainWindow w(app);
    ScopedResponder r;
    QString version;
    r.dialog = [&](QDialog& d) {
        version = dynamic_cast<frmAbout&>(d).lblVersion->text();
        return 1;
    };
    w.mnuPomocOprog->trigger();
    EXPECT_EQ(version, "Wersja: 3.5.12 [jednostanowiskowa]");
}

TEST(StartUp, FirstStartShowsTheDetachedWindowAndStoresTheDefaults)
{
    QTemporaryDir dir;
    App app;
    app.title = testTitle("Start");
    app.programFolder = dir.path();
    const int writes = settings::storeWrites();
    auto frame = Main(app, factory());
    ASSERT_TRUE(frame);
    EXPECT_EQ(settings::storeWrites() - writes, 1) << "the settings file is written once";
    auto* w = dynamic_cast<MainWindow*>(frame.get());
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(app.splash);  // the load step closed the start window
    EXPECT_FALSE(w->mnuBazaWlas->isEnabled());
    EXPECT_FALSE(w->btnZapisz->isEnabled());
    EXPECT_TRUE(w->mnuBazaOtworz->isEnabled());
    EXPECT_EQ(app.helpFile, dir.filePath("Rolkwit.chm"));

    const QString key = kRegFamilyKey + "\\" + app.title;
    EXPECT_EQ(RegValueRead(key, "Wersja"), QString("3.5.12"));
    EXPECT_EQ(RegValueRead(key, "ProgramFolder"), dir.path());
    EXPECT_EQ(RegValueRead(key, "Instancje"), QString("0"));
    EXPECT_EQ(RegValueRead(key, "Stanowisko"), QString("0"));
    EXPECT_EQ(RegValueRead(key, "TabPozLicz"), QString("3"));

    // Closing writes the cache back (a changed value included) and the placement.
    RegParSave(app, "DataPo", "25");
    app.gPrgPar.BazaPlik = "/dane/Firma.mdb";
    w->setWindowState(Qt::WindowNoState);
    // A placement that fits the test's small screen: the window's smallest size, a little taller.
    const QSize placed = w->minimumSize() + QSize(0, 10);
    w->setGeometry(50, 60, placed.width(), placed.height());
    w->close();
    EXPECT_EQ(RegValueRead(key, "DataPo"), QString("25"));
    EXPECT_EQ(RegValueRead(key, "BazaPlik"), QString("/dane/Firma.mdb"));
    EXPECT_EQ(RegValueRead(key, "OknoWidth"), QString::number(placed.width() * 15));

    App next;  // the next start restores the placement
    next.title = app.title;
    next.programFolder = dir.path();
    frame.reset();
    app.instanceChannel.reset();  // the first run has ended
    auto again = Main(next, factory());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->frameWidget()->size(), placed);
}

TEST(StartUp, ASecondCopyBringsTheFirstToTheFrontUnlessSeveralAreAllowed)
{
    QTemporaryDir dir;
    App first;
    first.title = testTitle("Copies");
    first.programFolder = dir.path();
    auto running = Main(first, factory());
    ASSERT_TRUE(running);
    running->frameWidget()->setWindowState(Qt::WindowNoState);

    App second;
    second.title = first.title;
    second.programFolder = dir.path();
    EXPECT_FALSE(Main(second, factory()));
    EXPECT_FALSE(second.splash);
    QTRY_VERIFY_WITH_TIMEOUT(running->frameWidget()->windowState() & Qt::WindowMaximized, 3000);

    RegSave(kRegFamilyKey + "\\" + first.title, "Instancje", "1");
    App third;
    third.title = first.title;
    third.programFolder = dir.path();
    EXPECT_TRUE(Main(third, factory()));
}
