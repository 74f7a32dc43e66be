#include "editor/document_commands.h"
#include "editor/document_list_events.h"
#include "platform/clipboard_link.h"
#include "platform/qor_combo.h"
#include "register/chart_page.h"
#include "register/preview_panel.h"
#include "register/register_model.h"
#include "register/register_page.h"
#include "support/editing_window.h"
#include "support/form_controls.h"
#include "support/stored_document.h"
#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTabBar>
#include <QToolBar>
#include <QWidgetAction>

// The main window's menus, popups and toolbars: what each offers, when, and what it does.

namespace {

struct MenusFixture : EditingFixture {
    void storeToday(int n)
    {
        storeDocument(t.app, invoiceHeader(today(n), QDate::currentDate()), {{"Pszenica", "10", "kg", "800,00", "7"}});
    }
    void rightClickRow(int i)
    {
        QTest::mouseClick(lst->viewport(), Qt::RightButton, {}, rowRect(i).center());
        window->mnuPopKartoteka->hide();
    }
    bool opensDocumentPopup(QWidget* w, QPoint at)
    {
        QTest::mouseClick(w, Qt::RightButton, {}, at);
        const bool shown = window->mnuPopDokument->isVisible();
        window->mnuPopDokument->hide();
        return shown;
    }
    qint64 count(const char* sql) { return t.db().scalar(QString::fromUtf8(sql)).toInt(); }
};

}  // namespace

// Every command is named (tests and the help find it so) and a menu's is captioned; each key
// reaches its one command; a popup is not on the menu bar; a group keeps exactly one button pressed.
TEST(MenuTree, CommandsAreNamedKeysReachOneCommandAndGroupsKeepOnePressed)
{
    App app;
    MainWindow w(app);
    // The menus' and toolbars' own commands (a submenu and a toolbar's placing room are none).
    QList<std::pair<QAction*, bool>> commands;  // with whether a menu shows it
    for (QMenu* m : w.findChildren<QMenu*>())
        for (QAction* a : m->actions()) commands.push_back({a, true});
    for (QToolBar* t : w.findChildren<QToolBar*>())
        for (QAction* a : t->actions()) commands.push_back({a, false});
    QHash<QKeySequence, QString> keys;
    for (const auto& [a, inMenu] : commands) {
        if (a->isSeparator() || qobject_cast<QWidgetAction*>(a) || a->menu()) continue;
        SCOPED_TRACE(a->text().toStdString());
        EXPECT_FALSE(a->objectName().isEmpty());
        if (inMenu) {
            EXPECT_FALSE(a->text().isEmpty()) << a->objectName().toStdString();
        }
        if (a->shortcut().isEmpty() || keys.value(a->shortcut()) == a->objectName()) continue;
        EXPECT_FALSE(keys.contains(a->shortcut())) << "also " << keys.value(a->shortcut()).toStdString();
        keys.insert(a->shortcut(), a->objectName());
    }
    const std::pair<const char*, const char*> reached[] = {
        {"Ctrl+O", "mnuBazaOtworz"},   {"Ctrl+D", "mnuBazaDrukuj"},   {"Ctrl+P", "mnuBazaPodglad"},
        {"Ctrl+X", "mnuEdycjaWytnij"}, {"Ctrl+C", "mnuEdycjaKopiuj"}, {"Ctrl+V", "mnuEdycjaWklej"},
    };
    for (const auto& [key, command] : reached) EXPECT_EQ(keys.value(QKeySequence(key)), command) << key;
    for (QMenu* popup : {w.mnuPopKartoteka, w.mnuPopDokument, w.mnuPopKar, w.mnuWykres})
        EXPECT_FALSE(popup->menuAction()->isVisible());
    for (QActionGroup* g : w.findChildren<QActionGroup*>()) {
        int pressed = 0;
        for (QAction* a : g->actions()) pressed += a->isChecked();
        EXPECT_EQ(pressed, 1) << g->actions().value(0)->objectName().toStdString();
    }
    w.btnSkala100->trigger();  // a group keeps exactly one button pressed
    EXPECT_FALSE(w.btnSzerokosc->isChecked());
}

TEST_F(MenusFixture, PrintAndPreviewKeysFireOnlyWhileTheirButtonsAllowThem)
{
    storeToday(1);
    open();
    for (int row : {0, 1}) {  // "<Nowy dokument>" has nothing to print or preview
        SCOPED_TRACE(row);
        lst->setCurrentIndex(rows->index(row, 0));
        pages->dokumenty->lista()->lstDok_Click();
        EXPECT_EQ(window->mnuBazaDrukuj->isEnabled(), row == 1);
        QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
        EXPECT_EQ(answers.dialogs, row);  // the printer dialog
        EXPECT_EQ(page->picPodglad()->isHidden(), row == 0);
    }
}

TEST_F(MenusFixture, DocumentListPopupFollowsTheRowAndTheArchiveLock)
{
    storeToday(1);
    open();
    QAction* items[] = {window->mnuPopKarNowy,   window->mnuPopKarPopraw, window->mnuPopKarUsun,
                        window->mnuPopKarKopiuj, window->mnuPopKarDrukuj, window->mnuPopKarPodglad,
                        window->mnuPopKarWyslij, window->mnuPopKarZapisz, window->mnuPopDokNowy,
                        window->MnuPopDokZapisz};
    const std::tuple<bool, int, QString> cases[] = {
        {false, 0, "1000000011"}, {false, 1, "1111111111"}, {true, 1, "0001111000"}};
    for (const auto& [archive, row, enabled] : cases) {
        SCOPED_TRACE(enabled.toStdString());
        BaseParSave(t.app, t.db(), "BazaOdczyt", archive ? "1" : "0");
        window->Przylacz();
        rightClickRow(row);
        QString seen;
        for (QAction* a : items) seen += a->isEnabled() ? "1" : "0";
        EXPECT_EQ(seen, enabled);
    }
    window->documentCommands()->UsunDokument();  // reached anyway: the archive deletes nothing
    EXPECT_EQ(answers.last(), "Baza danych jest zablokowana - tylko do odczytu. Nie można usunąć dokumentu.");
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 1);
}

TEST_F(MenusFixture, DeletingRefreshesTheListTheNumberTheRegisterAndTheChart)
{
    storeToday(1);
    storeToday(2);
    open();
    ChartPage* chart = pages->picWykres;
    chart->cmbWRok->setCurrentIndex(chart->cmbWRok->findText(QString::number(QDate::currentDate().year())));
    chart->cmbWRodzaj->setCurrentIndex(chart->cmbWRodzaj->findText("Zakupy brutto + vat + netto"));
    const double before = chart->grid().values[QDate::currentDate().month() - 1][0];
    doubleClickRow(1);  // the last document is being edited when it is deleted
    rightClickRow(1);
    window->mnuPopKarUsun->trigger();
    EXPECT_EQ(answers.last(), "Dokument FR  " + today(2) + " zostanie usunięty z kartoteki. Usunąć dokument?");
    EXPECT_EQ(listed(), QStringList({"<Nowy dokument>", "FR  " + today(1)}));
    EXPECT_EQ(pages->picKartoteka->dataKar()->rowCount(), 1);
    EXPECT_LT(chart->grid().values[QDate::currentDate().month() - 1][0], before);
    // What the form holds is a new document now, under the number that is free again.
    EXPECT_FALSE(form->editState().poprawa());
    EXPECT_EQ(controls(form).txtNumer->text(), today(2));
    EXPECT_EQ(controls(form).txtNazkon->text(), "Jan O'Brien");
}

TEST_F(MenusFixture, CopyHandsTheReferenceOverOrRefusesAPathItCannotCarry)
{
    storeToday(1);
    open();
    for (const QString path : {"/dane/Firma.mdb", "/dane/a|b/Firma.mdb"}) {
        SCOPED_TRACE(path.toStdString());
        QApplication::clipboard()->setText("poprzedni");
        t.app.gPrgPar.BazaPlik = path;
        t.app.gBazaHaslo = "tajne";
        rightClickRow(1);
        window->mnuPopKarKopiuj->trigger();
        const bool carried = !path.contains('|');
        EXPECT_EQ(clipboard::readLink(), carried ? ">Wirlan Data|FR|" + path + "|tajne|FR |" + today(1) : QString());
        EXPECT_EQ(QApplication::clipboard()->mimeData()->hasText(), !carried) << "no plain text beside the link";
        EXPECT_EQ(answers.last().contains("\"|\""), !carried);
    }
    QApplication::clipboard()->clear();
}

TEST_F(MenusFixture, TheFormsCaptionsBackgroundAndTabsOpenTheDocumentPopupWithThePasteOffer)
{
    open();
    clipboard::writeLink(">Wirlan Data|FA|/dane/F.mdb||KFR|12/2024");
    for (const QString& name : DocumentCommands::menuLabels() + QStringList{"Label13", "labKordok"}) {
        SCOPED_TRACE(name.toStdString());
        auto* label = form->findChild<QLabel*>(name);
        label->show();
        label->raise();
        EXPECT_EQ(opensDocumentPopup(label, label->rect().center()), DocumentCommands::menuLabels().contains(name));
    }
    EXPECT_EQ(window->mnuPopDokWklej->text(), "Wklej z KFR Nr 12/2024");
    EXPECT_TRUE(window->mnuPopDokWklej->isEnabled());
    QPoint empty;
    for (int y = 5; y < form->height() && empty.isNull(); y += 7)
        for (int x = 5; x < form->width() && empty.isNull(); x += 7)
            if (!form->childAt(x, y)) empty = QPoint(x, y);
    QApplication::clipboard()->setText(">Wirlan Data|FA|/dane/F.mdb||KFR|12/2024");  // plain text offers nothing
    EXPECT_TRUE(opensDocumentPopup(form, empty));
    EXPECT_TRUE(
        opensDocumentPopup(controls(form).tabPoz->tabBar(), controls(form).tabPoz->tabBar()->tabRect(0).center()));
    EXPECT_EQ(window->mnuPopDokWklej->text(), "Wklej z...");
    EXPECT_FALSE(window->mnuPopDokWklej->isEnabled());
    QApplication::clipboard()->clear();
}

TEST_F(MenusFixture, EditMenuActsOnTheSelectionAndCloseEndsAsClosingTheWindowDoes)
{
    open();
    const std::tuple<QAction*, QString, QString, QString> cases[] = {
        // command, clipboard before, text after, clipboard after
        {window->mnuEdycjaKopiuj, "x", "Jan Kowalski", "Kowalski"},
        {window->mnuEdycjaWytnij, "x", "Jan ", "Kowalski"},
        {window->mnuEdycjaWklej, "Nowak", "Jan Nowak", "Nowak"},
    };
    for (const auto& [action, before, text, clip] : cases) {
        SCOPED_TRACE(action->objectName().toStdString());
        QApplication::clipboard()->setText(before);
        controls(form).txtNazkon->setFocus();
        controls(form).txtNazkon->setText("Jan Kowalski");
        controls(form).txtNazkon->setSelection(4, 8);
        action->trigger();
        EXPECT_EQ(controls(form).txtNazkon->text(), text);
        EXPECT_EQ(QApplication::clipboard()->text(), clip);
    }
    window->mnuBazaZamknij->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(t.db().scalar("SELECT Nazkon FROM dodok WHERE Stanowisko = 0").toText(), "Jan Nowak");
    QApplication::clipboard()->clear();
}
