#include "documents/hand_over_text.h"
#include "editor/document_commands.h"
#include "editor/document_list_events.h"
#include "platform/clipboard_link.h"
#include "platform/qor_combo.h"
#include "register/chart_page.h"
#include "register/register_model.h"
#include "register/register_page.h"
#include "register/preview_panel.h"
#include "support/editing_window.h"
#include "support/stored_document.h"
#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QToolBar>

// The main window's menus, popups and toolbars as the user meets them: what each offers, when,
// and what its commands do.

namespace {

// A menu as it reads: "name: caption (shortcut)" per item, "-" per separator.
QStringList describe(const QMenu* menu)
{
    QStringList items;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            items << "-";
            continue;
        }
        QString item = a->objectName() + ": " + a->text();
        if (!a->shortcut().isEmpty()) item += " (" + a->shortcut().toString() + ")";
        items << item;
    }
    return items;
}

// A toolbar as it reads: "key:caption" per button (checked ones marked "*", grouped ones "g"),
// "|" per separator.
QStringList describe(const QToolBar* bar)
{
    QStringList items;
    for (const QAction* a : bar->actions()) {
        if (a->isSeparator()) {
            items << "|";
            continue;
        }
        QString item = a->objectName() + ":" + a->text();
        if (a->actionGroup()) item += a->isChecked() ? " g*" : " g";
        items << item;
    }
    return items;
}

struct MenusFixture : EditingFixture {
    void storeToday(int n)
    {
        storeDocument(t.app, invoiceHeader(today(n), QDate::currentDate()), {{"Pszenica", "10", "kg", "800,00", "7"}});
    }
    void rightClickRow(int i)
    {
        QTest::mouseClick(lst->viewport(), Qt::RightButton, {}, lst->visualItemRect(lst->topLevelItem(i)).center());
        window->mnuPopKartoteka->hide();
    }
    // Right button on `w` at `at` (its centre by default): whether the document popup opened.
    bool opensDocumentPopup(QWidget* w, QPoint at = {})
    {
        window->mnuPopDokument->hide();
        QTest::mouseClick(w, Qt::RightButton, {}, at.isNull() ? w->rect().center() : at);
        const bool shown = window->mnuPopDokument->isVisible();
        window->mnuPopDokument->hide();
        return shown;
    }
    qint64 count(const char* sql) { return t.db().scalar(QString::fromUtf8(sql)).toInt(); }
};

} // namespace

TEST(MenuTree, EveryMenuAndPopupHasItsCaptionsSeparatorsAndShortcuts)
{
    App app;
    MainWindow w(app);
    const std::pair<QMenu*, QStringList> menus[] = {
        {w.mnuBaza,
         {"mnuBazaNowa: Nowa", "mnuBazaOtworz: Otwórz (Ctrl+O)", "-", "mnuBazaWlas: Właściwości", "-",
          "mnuBazaDrukuj: Drukuj (Ctrl+D)", "mnuBazaPodglad: Podgląd wydruku (Ctrl+P)", "-", "mnuBazaZamknij: Zamknij"}},
        {w.mnuEdycja,
         {"mnuEdycjaWytnij: Wyt&nij (Ctrl+X)", "mnuEdycjaKopiuj: &Kopiuj (Ctrl+C)", "mnuEdycjaWklej: Wkl&ej (Ctrl+V)"}},
        {w.mnuNarzedzia,
         {"mnuNarzParProg: Parametry programu", "mnuNarzParDok: Parametry dokumentów", "-", "mnuNarzAktual: Aktualizuj program"}},
        {w.mnuPomoc,
         {"mnuPomocSpis: &Spis treści", "mnuPomocIndeks: &Indeks", "-", "mnuPomocPodrecznik: &Podręcznik użytkownika (pdf)",
          "-", "mnuPomocInternet: S&trona internetowa programu", "mnuPomocPytanie: Mam pytanie... (E-Mail)", "-",
          "mnuPomocOprog: &O programie"}},
        {w.mnuPopKartoteka,
         {"mnuPopKarNowy: Nowy", "mnuPopKarPopraw: Popraw", "mnuPopKarUsun: Usuń", "-", "mnuPopKarKopiuj: Kopiuj",
          "mnuPopKarWklej: Wklej z...", "-", "mnuPopKarDrukuj: Drukuj", "mnuPopKarPodglad: Podgląd wydruku", "-",
          "mnuPopKarWyślij: Wyślij...", "mnuPopKarZapisz: Zapisz jako..."}},
        {w.mnuPopDokument,
         {"mnuPopDokNowy: Nowy", "MnuPopDokZapisz: Zapisz", "-", "mnuPopDokWklej: Wklej z...", "-", "mnuPopDokPar: Parametry..."}},
        {w.pages()->picWprowadzanie->picDokument->gridPoz->findChild<QMenu*>("mnuPopPozycja"),
         {"mnuPopPozWstaw: Wstaw wiesz", "mnuPopPozDodaj: Dodaj wiersz", "mnuPopPozUsun: Usuń wiersz", "-",
          "mnuPopPozPocz: Ustawienia początkowe"}},
        {w.mnuPopKar,
         {"mnuPopKarZaplacono: Zapłacone", "mnuPopKarNieZaplacono: Niezapłacone", "-", "mnuPopKarDrukuj2: Drukuj",
          "mnuPopKarWyślij2: Wyślij...", "mnuPopKarZapisz2: Zapisz jako...", "-", "mnuKarWierszeZaznacz: Zaznacz wiersze",
          "mnuKarWierszeKopiuj: Kopiuj wiersze", "-", "mnuPopKarOdswiez: Odśwież"}},
        {w.mnuWykres, {"mnuWykOdswiez: Odśwież"}},
    };
    for (const auto& [menu, items] : menus) {
        ASSERT_TRUE(menu);
        SCOPED_TRACE(menu->objectName().toStdString());
        EXPECT_EQ(describe(menu), items);
    }
    QStringList bar;
    for (QAction* a : w.menuBar()->actions()) bar << a->text() + (a->isVisible() ? "" : " (popup)");
    EXPECT_EQ(bar, QStringList({"&Baza", "&Edycja", "&Narzędzia", "&Pomoc", "Kartoteka (popup)", "Dokument (popup)",
                                "Kartoteka (popup)", "Wykres (popup)"}));
}

TEST(MenuTree, ToolbarsHaveTheirKeysCaptionsAndGroups)
{
    App app;
    MainWindow w(app);
    const std::pair<QToolBar*, QStringList> bars[] = {
        {w.toolWprowadz,
         {"Wprowadzanie:Wprowadzanie danych  g*", "Kartoteka:Kartoteka dokumentów  g", "Wykres:Wykres zakupów           g"}},
        {w.toolEdycja, {"Dokument: Edycja dokumentu        g*", "Podglad:Podglad wydruku        g"}},
        {w.toolZapisz, {"Zapisz:  Zapisz    ", "Drukuj:  Drukuj   ", "Wyslij:  Wyślij      "}},
        {w.toolPomoc, {"Pomoc:"}},
        {w.toolCRView,
         {"Pierwszy:", "Poprzedni:", "Nastepny:", "Ostatni:", "|", "Cala: g", "Szerokosc: g*", "Skala100: g", "|"}},
    };
    for (const auto& [bar, items] : bars) {
        SCOPED_TRACE(bar->objectName().toStdString());
        EXPECT_EQ(describe(bar), items);
    }
    // A group keeps exactly one button pressed.
    w.btnKartoteka->trigger();
    EXPECT_FALSE(w.btnWprowadzanie->isChecked());
    w.btnSkala100->trigger();
    EXPECT_FALSE(w.btnSzerokosc->isChecked());
    w.btnSkala100->trigger();
    EXPECT_TRUE(w.btnSkala100->isChecked());
}

TEST_F(MenusFixture, PrintAndPreviewShortcutsFireOnlyWhileTheirButtonsAllowThem)
{
    storeToday(1);
    open();
    // "<Nowy dokument>": nothing to print or preview, whether by menu or by key.
    lst->setCurrentItem(lst->topLevelItem(0));
    pages->dokumenty->lista()->lstDok_Click();
    EXPECT_FALSE(window->mnuBazaDrukuj->isEnabled());
    EXPECT_FALSE(window->mnuBazaPodglad->isEnabled());
    QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(answers.dialogs, 0);
    EXPECT_TRUE(page->picPodglad->isHidden());

    // A stored document: Ctrl+D opens the printer dialog, Ctrl+P the preview.
    lst->setCurrentItem(lst->topLevelItem(1));
    pages->dokumenty->lista()->lstDok_Click();
    EXPECT_TRUE(window->mnuBazaDrukuj->isEnabled());
    QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(answers.dialogs, 1);
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_FALSE(page->picPodglad->isHidden());
    EXPECT_TRUE(window->btnPodglad->isChecked());

    // Without a database the menu's database commands and their keys are off; opening stays.
    window->MenuBaseEnable(false);
    for (QAction* a : {window->mnuBazaDrukuj, window->mnuBazaPodglad, window->mnuBazaWlas, window->mnuNarzParDok})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(window->mnuBazaOtworz->isEnabled());
    QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(answers.dialogs, 1);
}

TEST_F(MenusFixture, DocumentListPopupFollowsTheRowAndTheArchiveLock)
{
    storeToday(1);
    open();
    QAction* rowItems[] = {window->mnuPopKarPopraw, window->mnuPopKarUsun, window->mnuPopKarKopiuj, window->mnuPopKarDrukuj,
                           window->mnuPopKarPodglad, window->mnuPopKarWyslij, window->mnuPopKarZapisz};
    struct Case {
        const char* name;
        bool archive;
        int row;
        QStringList enabled;
    } cases[] = {
        {"new document row", false, 0, {"mnuPopKarNowy"}},
        {"stored document",
         false,
         1,
         {"mnuPopKarNowy", "mnuPopKarPopraw", "mnuPopKarUsun", "mnuPopKarKopiuj", "mnuPopKarDrukuj", "mnuPopKarPodglad",
          "mnuPopKarWyślij", "mnuPopKarZapisz"}},
        {"stored document of an archive", true, 1, {"mnuPopKarKopiuj", "mnuPopKarDrukuj", "mnuPopKarPodglad", "mnuPopKarWyślij"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BaseParSave(t.app, t.db(), "BazaOdczyt", c.archive ? "1" : "0");
        window->Przylacz();
        rightClickRow(c.row);
        QStringList enabled;
        if (window->mnuPopKarNowy->isEnabled()) enabled << window->mnuPopKarNowy->objectName();
        for (QAction* a : rowItems)
            if (a->isEnabled()) enabled << a->objectName();
        EXPECT_EQ(enabled, c.enabled);
        EXPECT_EQ(window->mnuPopDokNowy->isEnabled(), !c.archive);
        EXPECT_EQ(window->MnuPopDokZapisz->isEnabled(), !c.archive);
    }
    // The archive's delete, even when reached, deletes nothing.
    window->documentCommands()->UsunDokument();
    EXPECT_EQ(answers.last(), "Baza danych jest zablokowana - tylko do odczytu. Nie można usunąć dokumentu.");
    EXPECT_EQ(count("SELECT count(*) FROM fadok"), 1);
}

TEST_F(MenusFixture, DeletingFromThePopupRefreshesTheListTheNumberTheRegisterAndTheChart)
{
    storeToday(1);
    storeToday(2);
    open();
    RegisterPage* reg = pages->picKartoteka;
    ChartPage* chart = pages->picWykres;
    chart->cmbWRok->setCurrentIndex(chart->cmbWRok->findText(QString::number(QDate::currentDate().year())));
    chart->cmbWRodzaj->setCurrentIndex(chart->cmbWRodzaj->findText("Zakupy brutto + vat + netto"));
    const double before = chart->grid().values[QDate::currentDate().month() - 1][0];
    EXPECT_EQ(reg->dataKar->rowCount(), 2);
    EXPECT_EQ(form->txtNumer->text(), today(3));

    // Not the last number of the month: refused, and nothing is asked.
    rightClickRow(2);
    window->mnuPopKarUsun->trigger();
    EXPECT_EQ(answers.last(), "Ustawiona jest opcja automatycznej numeracji dokumentów. Dokument FR  " + today(1)
                                  + " nie jest ostatnim dokumentem kartoteki. Dokument nie może zostać usunięty.");
    EXPECT_EQ(answers.seen.size(), 1u);

    // The last: asked, deleted, and everything that lists documents follows.
    rightClickRow(1);
    window->mnuPopKarUsun->trigger();
    EXPECT_EQ(answers.last(), "Dokument FR  " + today(2) + " zostanie usunięty z kartoteki. Usunąć dokument?");
    EXPECT_EQ(listed(), QStringList({"<Nowy dokument>", "FR  " + today(1)}));
    EXPECT_EQ(reg->dataKar->rowCount(), 1);
    EXPECT_LT(chart->grid().values[QDate::currentDate().month() - 1][0], before);
    EXPECT_EQ(form->txtNumer->text(), today(2));
    EXPECT_EQ(count("SELECT count(*) FROM fapoz"), 1);

    // The document being edited is deleted: the form keeps its content as a new document.
    doubleClickRow(1);
    EXPECT_TRUE(form->editState().poprawa());
    rightClickRow(1);
    window->mnuPopKarUsun->trigger();
    EXPECT_FALSE(form->editState().poprawa());
    EXPECT_FALSE(form->labPoprawa->isVisible());
    EXPECT_EQ(form->txtNumer->text(), today(1));
    EXPECT_EQ(form->txtNazkon->text(), "Jan O'Brien");
}

TEST_F(MenusFixture, PopupNewShowsTheFormAndStartsADocument)
{
    storeToday(1);
    open();
    typeSeller();
    rightClickRow(1);
    window->mnuPopKarPodglad->trigger();
    ASSERT_FALSE(page->picPodglad->isHidden());
    rightClickRow(1);
    window->mnuPopKarNowy->trigger();
    EXPECT_TRUE(page->picPodglad->isHidden());
    EXPECT_TRUE(window->btnDokument->isChecked());
    EXPECT_EQ(lst->currentItem(), lst->topLevelItem(0));
    EXPECT_TRUE(form->txtNazkon->text().isEmpty());
    // "Popraw" opens the selected stored document for editing.
    rightClickRow(1);
    window->mnuPopKarPopraw->trigger();
    EXPECT_TRUE(form->editState().poprawa());
    EXPECT_EQ(form->txtNumer->text(), today(1));
}

TEST_F(MenusFixture, CopyPutsTheReferenceUnderTheLinkFormatOrRefusesAPathItCannotCarry)
{
    storeToday(1);
    open();
    struct Case {
        const char* name;
        QString path;
        QString haslo;
        bool carried;
    } cases[] = {
        {"plain database", "/dane/Firma.mdb", "", true},
        {"protected database", "/dane/Firma.mdb", "tajne", true},
        {"path holding a bar", "/dane/a|b/Firma.mdb", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QApplication::clipboard()->setText("poprzedni");
        answers.seen.clear();
        t.app.gPrgPar.BazaPlik = c.path;
        t.app.gBazaHaslo = c.haslo;
        rightClickRow(1);
        window->mnuPopKarKopiuj->trigger();
        if (c.carried) {
            EXPECT_EQ(clipboard::readLink(), ">Wirlan Data|FR|" + c.path + "|" + c.haslo + "|FR |" + today(1));
            EXPECT_FALSE(QApplication::clipboard()->mimeData()->hasText()) << "no plain text beside the link";
            EXPECT_TRUE(answers.seen.empty());
        } else {
            EXPECT_EQ(QApplication::clipboard()->text(), "poprzedni");
            ASSERT_EQ(answers.seen.size(), 1u);
            EXPECT_TRUE(answers.last().contains("\"|\""));
        }
    }
    QApplication::clipboard()->clear();
}

TEST_F(MenusFixture, TheFormsCaptionsBackgroundAndTabsOpenTheDocumentPopup)
{
    open();
    for (const QString& name : DocumentCommands::menuLabels() + QStringList{"Label13", "labKordok"}) {
        SCOPED_TRACE(name.toStdString());
        auto* label = form->findChild<QLabel*>(name);
        ASSERT_TRUE(label);
        label->show();
        label->raise();
        EXPECT_EQ(opensDocumentPopup(label), DocumentCommands::menuLabels().contains(name));
    }
    // A spot of the form's own background.
    QPoint empty;
    for (int y = 5; y < form->height() && empty.isNull(); y += 7)
        for (int x = 5; x < form->width() && empty.isNull(); x += 7)
            if (!form->childAt(x, y)) empty = QPoint(x, y);
    ASSERT_FALSE(empty.isNull());
    EXPECT_TRUE(opensDocumentPopup(form, empty));
    QTabBar* tabs = form->tabPoz->tabBar();
    EXPECT_TRUE(opensDocumentPopup(tabs, tabs->tabRect(0).center()));
    // The left button opens nothing.
    QTest::mouseClick(form->findChild<QLabel*>("labNumer"), Qt::LeftButton);
    EXPECT_FALSE(window->mnuPopDokument->isVisible());
}

TEST_F(MenusFixture, DocumentPopupOffersThePasteOnlyForAReferenceOnTheClipboard)
{
    open();
    const QPoint at = window->mapToGlobal(QPoint(10, 10));
    struct Case {
        const char* name;
        std::function<void()> put;
        QString caption;
    } cases[] = {
        {"a reference", [] { clipboard::writeLink(">Wirlan Data|FA|/dane/F.mdb||KFR|12/2024"); }, "Wklej z KFR Nr 12/2024"},
        {"the same text as plain text", [] { QApplication::clipboard()->setText(">Wirlan Data|FA|/dane/F.mdb||KFR|12/2024"); },
         "Wklej z..."},
        {"another link", [] { clipboard::writeLink("Wirlan Data|FA|/dane/F.mdb||KFR|12/2024"); }, "Wklej z..."},
        {"nothing", [] { QApplication::clipboard()->clear(); }, "Wklej z..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.put();
        window->documentCommands()->PokazMenuDokument(at);
        EXPECT_TRUE(window->mnuPopDokument->isVisible());
        window->mnuPopDokument->hide();
        EXPECT_EQ(window->mnuPopDokWklej->text(), c.caption);
        EXPECT_EQ(window->mnuPopDokWklej->isEnabled(), c.caption != "Wklej z...");
    }
    QApplication::clipboard()->clear();
}

TEST_F(MenusFixture, EditMenuCutsCopiesAndPastesTheSelectionOfTheFocusedField)
{
    open();
    struct Case {
        const char* name;
        QAction* action;
        QString clipboardBefore;
        QString textAfter;
        QString clipboardAfter;
    } cases[] = {
        {"copy", window->mnuEdycjaKopiuj, "x", "Jan Kowalski", "Kowalski"},
        {"cut", window->mnuEdycjaWytnij, "x", "Jan ", "Kowalski"},
        {"paste over the selection", window->mnuEdycjaWklej, "Nowak", "Jan Nowak", "Nowak"},
    };
    auto selectSurname = [&](QWidget* field) {
        if (auto* line = qobject_cast<QLineEdit*>(field)) {
            line->setText("Jan Kowalski");
            line->setSelection(4, 8);
        } else {
            auto* notes = static_cast<QPlainTextEdit*>(field);
            notes->setPlainText("Jan Kowalski");
            QTextCursor cur = notes->textCursor();
            cur.setPosition(4);
            cur.setPosition(12, QTextCursor::KeepAnchor);
            notes->setTextCursor(cur);
        }
    };
    auto text = [](QWidget* field) {
        if (auto* line = qobject_cast<QLineEdit*>(field)) return line->text();
        return static_cast<QPlainTextEdit*>(field)->toPlainText();
    };
    for (QWidget* field : std::initializer_list<QWidget*>{form->txtNazkon, form->txtUwagi}) {
        form->tabPoz->setCurrentIndex(2);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name + std::string(" in ") + field->objectName().toStdString());
            QApplication::clipboard()->setText(c.clipboardBefore);
            field->setFocus();
            selectSurname(field);
            c.action->trigger();
            EXPECT_EQ(text(field), c.textAfter);
            EXPECT_EQ(QApplication::clipboard()->text(), c.clipboardAfter);
        }
    }
    // A field that cannot be changed is only copied from.
    form->txtNazkon->setReadOnly(true);
    form->txtNazkon->setFocus();
    selectSurname(form->txtNazkon);
    window->mnuEdycjaWytnij->trigger();
    EXPECT_EQ(form->txtNazkon->text(), "Jan Kowalski");
    EXPECT_EQ(QApplication::clipboard()->text(), "Kowalski");
    QApplication::clipboard()->clear();
}

TEST_F(MenusFixture, CloseFromTheMenuBuffersTheDocumentAndClosesTheWindow)
{
    open();
    typeSeller();
    window->mnuBazaZamknij->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(t.db().scalar("SELECT Nazkon FROM dodok WHERE Stanowisko = 0").toText(), "Jan O'Brien");
}
