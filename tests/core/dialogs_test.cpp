#include "core/dlg_baza_haslo.h"
#include "core/frm_input.h"
#include "core/frm_splash.h"
#include "core/mail_services.h"
#include "platform/qor_combo.h"
#include "support/fake_tools.h"
#include "support/scoped_responder.h"
#include "support/test_settings.h"
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(PasswordDialog, NewPasswordMustBeConfirmedExactly)
{
    ScopedResponder r;
    dlgBazaHaslo d;
    d.NoweHaslo(true);
    EXPECT_EQ(d.windowTitle(), "Wprowadź hasło bazy");
    EXPECT_EQ(d.cmdOk->text(), "Zapisz");
    QTest::keyClicks(d.txtOpis, "Abc");
    QTest::keyClicks(d.txtHaslo, "abc");
    d.cmdOk->click();
    EXPECT_FALSE(d.Wynik);
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].title, "Hasło");
    EXPECT_EQ(r.seen[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(d.txtHaslo->selectedText(), "abc");

    d.txtHaslo->setText("Abc");
    d.cmdOk->click();
    EXPECT_TRUE(d.Wynik);
    EXPECT_EQ(d.result(), QDialog::Accepted);

    dlgBazaHaslo empty;  // both fields empty: an empty password is accepted
    empty.NoweHaslo(true);
    empty.cmdOk->click();
    EXPECT_TRUE(empty.Wynik);

    dlgBazaHaslo longOne;
    longOne.NoweHaslo(true);
    QTest::keyClicks(longOne.txtOpis, "123456789012345678");
    EXPECT_EQ(longOne.txtOpis->text(), "12345678901234");
}

TEST(PasswordDialog, PromptRefusesEmptyAndCancelClearsThePassword)
{
    ScopedResponder r;
    dlgBazaHaslo d;
    d.NoweHaslo(false);
    EXPECT_EQ(d.windowTitle(), "Podaj hasło");
    EXPECT_EQ(d.labOpis->text(), "Baza");
    EXPECT_EQ(d.labHaslo->text(), "Haslo");
    EXPECT_FALSE(d.txtOpis->isEnabled());
    d.txtOpis->setText("/dane/bardzo/dluga/sciezka/do/bazy/Firma");
    EXPECT_EQ(d.txtOpis->text(), "/dane/bardzo/dluga/sciezka/do/bazy/Firma");
    d.cmdOk->click();
    EXPECT_FALSE(d.Wynik);
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text, "Wprowadź haslo dostępu do bazy lub naciśnij Anuluj.");
    QTest::keyClicks(d.txtHaslo, "tajne");
    d.cmdAnuluj->click();
    EXPECT_FALSE(d.Wynik);
    EXPECT_EQ(d.txtHaslo->text(), "");
}

TEST(PasswordDialog, AskDatabasePasswordReturnsTheTypedPasswordOrNothing)
{
    ScopedResponder r;
    r.dialog = [](QDialog& d) {
        auto& h = dynamic_cast<dlgBazaHaslo&>(d);
        EXPECT_EQ(h.txtOpis->text(), "/dane/Firma");
        h.txtHaslo->insert("Hasło1");
        h.cmdOk->click();
        return h.result();
    };
    EXPECT_EQ(askDatabasePassword(nullptr, "/dane/Firma"), QString("Hasło1"));
    r.dialog = [](QDialog& d) {
        d.reject();
        return 0;
    };
    EXPECT_FALSE(askDatabasePassword(nullptr, "/dane/Firma"));
}

TEST(InputBoxes, InputTextGivesTheTextOnlyAfterOk)
{
    ScopedResponder r;
    r.dialog = [](QDialog& d) {
        auto& box = dynamic_cast<frmInput&>(d);
        EXPECT_EQ(box.windowTitle(), "Zmiana nazwy bazy danych");
        EXPECT_EQ(box.labOpis->text(), "Podaj nazwę bazy danych");
        box.txtInput->clear();
        QTest::keyClicks(box.txtInput, "Nowa");
        box.cmdOk->click();
        return 1;
    };
    EXPECT_EQ(InputText("Podaj nazwę bazy danych", "Zmiana nazwy bazy danych", "Firma", 1500, 1500), "Nowa");
    r.dialog = [](QDialog& d) {
        dynamic_cast<frmInput&>(d).cmdAnuluj->click();
        return 0;
    };
    EXPECT_EQ(InputText("Podaj", "Tytuł", "domyślny"), "");
}

TEST(InputBoxes, ChoiceBoxReportsTheChosenKey)
{
    frmInCmb box;
    box.cmbInput->setRowSource("LIST html;Dokument HTML|pdf;Dokument PDF");
    box.cmbInput->Refill();
    box.cmdOk->click();  // nothing chosen yet
    EXPECT_TRUE(box.Wynik);
    EXPECT_TRUE(box.cmbInput->boundValue().isNull());
    box.cmbInput->setCurrentIndex(1);
    box.cmdAnuluj->click();
    EXPECT_FALSE(box.Wynik);
    EXPECT_EQ(box.cmbInput->boundValue().toString(), "pdf");
}

TEST(AboutBox, TellsSingleFromNetworkWorkstation)
{
    App app;
    frmAbout single(app);
    EXPECT_EQ(single.windowTitle(), "O programie");
    EXPECT_EQ(single.lblTitle->text(), "Rolkwit");
    EXPECT_EQ(single.lblVersion->text(), "Wersja: 3.5.12 [jednostanowiskowa]");
    EXPECT_TRUE(single.findChild<QLabel*>("lblGrupa")->text() == "program należy do grupy Wirlan");
    app.gStanowisko = 2;
    frmAbout network(app);
    EXPECT_EQ(network.lblVersion->text(), "Wersja: 3.5.12 [sieciowa]");
    frmSplash splash(app);
    EXPECT_EQ(splash.lblWersja->text(), "Wersja 3.5.12");
}

TEST(MailServices, SupportQuestionAndFileChecks)
{
    ScopedResponder r;
    QTemporaryDir dir;
    App app;
    useTestSettings(app, dir.path());
    FakeTools tools;
    tools.add("xdg-open", 3);  // the desktop has no program for mailto: links nor for .eml files
    app.gPrgPar.BezMAPI = 1;
    PytanieWyslij(app);
    auto opened = tools.calls("xdg-open");
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QStringList("mailto:" + app.supportAddress + "?subject=Pytanie%20Rolkwit%20wersja%203.5.12"));
    EXPECT_TRUE(opened[1].value(0).endsWith(".eml"));
    ASSERT_EQ(r.seen.size(), 1u);  // nothing took the message: said so once
    EXPECT_EQ(r.seen[0].title, "Błąd wysyłania poczty");

    // A help file that exists but that no program opens, and a manual that is not there.
    QFile(dir.filePath("Rolkwit.chm")).open(QIODevice::WriteOnly);
    tools.add("xdg-mime", 0, "");
    EXPECT_FALSE(FileOpenExec(app, "Rolkwit.chm", dir.path(), "Zainstaluj przeglądarkę pomocy."));
    EXPECT_EQ(r.seen.back().text, "Zainstaluj przeglądarkę pomocy.");
    tools.add("xdg-mime", 0, "przegladarka.desktop\n");
    EXPECT_TRUE(FileOpenExec(app, "Rolkwit.chm", dir.path(), "x"));
    EXPECT_FALSE(FileOpenExec(app, "Rolkwit.pdf", "/opt/rolkwit", "x"));
    EXPECT_EQ(r.seen.back().text,
              "Sprawdź czy plik: /opt/rolkwit/Rolkwit.pdf jest dostępny. Sprawdź foldery programu - "
              "menu Narzędzia, polecenie Parametry programu.");
    EXPECT_EQ(r.seen.back().title, "Błąd otwarcia pliku");
}
