#include "core/base_par.h"
#include "core/dlg_baza_wlas.h"
#include "core/dlg_par_prog.h"
#include "documents/save.h"
#include "editor/dlg_par_dok.h"
#include "editor/document_form.h"
#include "editor/entry_page.h"
#include "editor/main_pages.h"
#include "editor/main_window.h"
#include "editor/position_grid.h"
#include "editor/position_model.h"
#include "platform/qor_controls.h"
#include "register/register_page.h"
#include "support/document_fixture.h"
#include "support/editing_window.h"
#include "support/form_controls.h"
#include "support/scoped_responder.h"
#include "support/temp_database.h"
#include "support/test_settings.h"
#include "support/typing.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

// The settings dialogs as the main window opens them, and what the window does with what they save.

namespace {

struct SettingsMenus : ::testing::Test {
    TempDatabase t;
    ScopedResponder r;
    std::unique_ptr<MainWindow> window;
    DocumentForm* form = nullptr;
    QStringList opened;  // dialogs shown, with the tab a parameters dialog opened on
    std::function<void(QDialog&)> act = [](QDialog&) {};

    void SetUp() override
    {
        useTestSettings(t.app, t.dir.path());
        BaseParSave(t.app, t.db(), "DokNaglowek1", "Skup");
        r.dialog = [this](QDialog& d) {
            QString name = d.objectName();
            if (auto* p = dynamic_cast<dlgParDok*>(&d)) name += QString::number(p->tabDane->currentIndex());
            opened << name;
            act(d);
            return d.result();
        };
    }
    void open()
    {
        window = openMainWindow(t.app, {1280, 800}, true);
        form = window->pages()->picWprowadzanie->picDokument();
    }
    void TearDown() override { t.app.mainFrame = nullptr; }
};

}  // namespace

TEST_F(SettingsMenus, EachCommandOpensItsDialog)
{
    BaseParSave(t.app, t.db(), "DokNaglowek1", "");
    open();  // an empty first header line: "Tak" to the question opens the document parameters
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text, "Brak definicji nagłowka dokumentów. Chcesz zdefiniować nagłówki dokumentów teraz?");
    PositionGrid* grid = controls(form).gridPoz;
    const std::pair<std::function<void()>, QString> commands[] = {
        {[&] { window->mnuBazaWlas->trigger(); }, "dlgBazaWlas"},
        {[&] { window->mnuNarzParProg->trigger(); }, "dlgParProg"},
        {[&] { window->mnuNarzParDok->trigger(); }, "dlgParDok0"},
        {[&] { window->mnuPopDokPar->trigger(); }, "dlgParDok0"},
        {[&] {
             grid->preparePopup(0)->hide();
             grid->mnuPopPozPocz->trigger();
         },
         "dlgParDok3"},
    };
    EXPECT_EQ(opened, QStringList{"dlgParDok0"});
    for (const auto& [command, dialog] : commands) {
        SCOPED_TRACE(dialog.toStdString());
        opened.clear();
        command();
        EXPECT_EQ(opened, QStringList{dialog});
    }
}

TEST_F(SettingsMenus, SavedDocumentParametersKeepTheEditedDocument)
{
    open();
    const QString numer = controls(form).txtNumer->text();
    controls(form).txtNazkon->setFocus();
    typeText(controls(form).txtNazkon, "Jan Nowak");
    ASSERT_TRUE(typeIntoCell(controls(form).gridPoz, 0, PositionModel::Nazwa, "Owies"));
    act = [](QDialog& d) {
        auto& p = dynamic_cast<dlgParDok&>(d);
        p.txtTabPozWiersz->setValue(5);
        p.txtTabPozLicz->setValue(8);
        p.cbNumEdycja->setChecked(false);
        p.cmdZapisz->click();
    };
    window->mnuNarzParDok->trigger();
    ASSERT_EQ(opened, QStringList{"dlgParDok0"});
    EXPECT_EQ(controls(form).txtNazkon->text(), "Jan Nowak");
    EXPECT_EQ(controls(form).txtNumer->text(), numer);
    EXPECT_EQ(t.db().scalar("SELECT Nazwa FROM dopoz WHERE Pozycja = 1").toText(), "Owies");
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dopoz").toInt(), 3);  // the new row count waits for a new document
    EXPECT_EQ(controls(form).gridPoz->rowHeight(0), 5 * 210 / 15);
    EXPECT_FALSE(controls(form).txtNumer->isEnabled());
    EXPECT_TRUE(r.seen.empty());
}

TEST_F(SettingsMenus, TheArchiveLockSwitchesTheChangingCommandsAndLeavesBrowsing)
{
    bufferDocument(t.app, invoiceHeader("1/05/2024"), {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    open();
    auto lock = [&](bool on) {
        act = [on](QDialog& d) {
            auto& w = dynamic_cast<dlgBazaWlas&>(d);
            w.cbTylkoOdczyt->setChecked(on);
            w.cmbOk->click();
        };
        window->mnuBazaWlas->trigger();
    };
    PositionGrid* grid = controls(form).gridPoz;
    const QList<QAction*> changing = {window->btnZapisz,       window->mnuPopDokNowy,   window->MnuPopDokZapisz,
                                      window->mnuPopKarNowy,   window->mnuPopKarPopraw, window->mnuPopKarUsun,
                                      window->mnuPopKarZapisz, grid->mnuPopPozDodaj,    grid->mnuPopPozUsun,
                                      grid->mnuPopPozWstaw};
    const QList<QAction*> browsing = {window->btnWprowadzanie, window->btnKartoteka, window->btnWykres,
                                      window->btnDokument, window->btnPodglad};
    QTableView* lst = window->pages()->picWprowadzanie->lstDok();
    auto rightClickStored = [&] {
        QTest::mouseClick(lst->viewport(), Qt::RightButton, {}, lst->visualRect(lst->model()->index(1, 0)).center());
        window->mnuPopKartoteka->hide();
    };

    lock(true);
    EXPECT_TRUE(t.app.gBazaPar.BazaOdczyt);
    for (QAction* a : changing) EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    rightClickStored();  // the list's popup keeps them off for a stored document too
    EXPECT_FALSE(window->mnuPopKarPopraw->isEnabled());
    EXPECT_FALSE(window->mnuPopKarUsun->isEnabled());
    EXPECT_TRUE(window->mnuPopKarDrukuj->isEnabled());
    for (QAction* a : browsing) EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    window->btnKartoteka->trigger();
    EXPECT_TRUE(window->pages()->picKartoteka->isVisible());
    window->btnWprowadzanie->trigger();
    EXPECT_TRUE(form->isVisible());
    controls(form).txtNazkon->setText("Jan");
    QTest::keyClick(controls(form).txtNazkon, Qt::Key_N, Qt::ControlModifier);  // no new document either
    EXPECT_EQ(controls(form).txtNazkon->text(), "Jan");

    lock(false);
    EXPECT_FALSE(t.app.gBazaPar.BazaOdczyt);
    for (QAction* a : changing) EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    rightClickStored();
    EXPECT_TRUE(window->mnuPopKarPopraw->isEnabled());
}
