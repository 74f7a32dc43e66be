#include "editor/dlg_par_dok.h"
#include "core/base_par.h"
#include "core/registry.h"
#include "documents/numbering.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include "support/scoped_responder.h"
#include "support/temp_database.h"
#include "support/test_settings.h"
#include "support/typing.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

struct DocumentParameters : ::testing::Test {
    TempDatabase t;
    ScopedResponder r;
    QString chosen;  // the file the file dialog answers with

    void SetUp() override
    {
        useTestSettings(t.app, t.dir.path());
        BaseParSave(t.app, t.db(), "DokNaglowek1", "Skup Zbóż");
        BaseParSave(t.app, t.db(), "NumSzablon", "Numer/Rok[4]/FR");
        BaseParSave(t.app, t.db(), "NumMiesieczna", "0");
        NumParRead(t.app);
        t.app.gPrgPar.TabPozLicz = 5;
        t.app.gPrgPar.PlatForma = "Gotówka";
        r.dialog = [this](QDialog& d) {
            auto* f = dynamic_cast<QFileDialog*>(&d);
            if (!f || chosen.isEmpty()) return 0;
            f->selectFile(chosen);
            return int(QDialog::Accepted);
        };
    }
    QString par(const char* name)
    {
        return t.db().scalar("SELECT Wartosc FROM dbpar WHERE Indpar = ?", {name}).toText();
    }
    QString reg(const char* name) { return RegValueRead(t.app.gRegProgramKey, name).value_or("<brak>"); }
    db::Value logo() { return t.db().scalar("SELECT Wartosc FROM dbbin WHERE Indpar = 'Logo'"); }
};

}  // namespace

TEST_F(DocumentParameters, OpensWithTheStoredValuesAndSavesOnZastosujAndOk)
{
    dlgParDok d(t.app);
    EXPECT_EQ(d.windowTitle(), "Parametry dokumentów");
    QStringList tabs;
    for (int i = 0; i < d.tabDane->count(); ++i) tabs << d.tabDane->tabText(i);
    EXPECT_EQ(tabs,
              QStringList({"&Nagłówek", "&Logo, stopka", "N&umeracja", " &Tablica pozycji", "&Ustawienia początkowe"}));
    EXPECT_EQ(d.txtNaglowek[0]->text(), "Skup Zbóż");
    EXPECT_EQ(d.cmbNumS1->text(), "Numer");
    EXPECT_EQ(d.cmbNumS2->text(), "Rok [4]");
    EXPECT_TRUE(d.cmbNumS3->boundValue().isNull());
    EXPECT_EQ(d.txtNumPo->text(), "FR");
    EXPECT_TRUE(d.obNumRoczna->isChecked());
    EXPECT_TRUE(d.fraSposob->isEnabled());
    EXPECT_EQ(d.cmbPlatFor->currentText(), "Gotówka");
    EXPECT_EQ(d.gridPoz->rowCount(), 5);
    EXPECT_EQ(d.gridPoz->item(4, 0)->text(), "5");
    EXPECT_EQ(d.gridPoz->rowHeight(0), 3 * 210 / 15);
    EXPECT_FALSE(d.cmdZastosuj->isEnabled());

    d.txtTabPozLicz->setValue(2);  // the preview follows at once
    d.txtTabPozWiersz->setValue(4);
    EXPECT_EQ(d.gridPoz->rowCount(), 2);
    EXPECT_EQ(d.gridPoz->rowHeight(1), 4 * 210 / 15);
    EXPECT_EQ(t.app.gPrgPar.TabPozLicz, 5);  // the program learns it only when saved
    typeText(d.txtNaglowek[1], "ul. Polna 1");
    d.txtStopka->setPlainText(QString(300, 'x'));
    EXPECT_EQ(d.txtStopka->toPlainText().size(), 255);
    d.cmbPlatdni->setEditText("21");
    d.opParUstawZ->setChecked(true);
    d.obNumMiesieczna->setChecked(true);
    d.cmbNumS3->setBoundValue("/Miesiąc");
    d.cbNumEdycja->setChecked(false);
    d.kolTabKorKol->setValue(0x00FF00);
    EXPECT_TRUE(d.cmdZastosuj->isEnabled());
    d.cmdZastosuj->click();
    EXPECT_FALSE(d.cmdZastosuj->isEnabled());
    EXPECT_NE(d.result(), QDialog::Accepted);  // "Zastosuj" keeps the dialog open

    const struct {
        const char* name;
        QString value;
    } stored[] = {{"DokNaglowek2", "ul. Polna 1"},
                  {"DokStopka", QString(255, 'x')},
                  {"NumSzablon", "Numer/Rok[4]/Miesiąc/FR"},
                  {"NumMiesieczna", "1"},
                  {"NumAuto", "1"},
                  {"NumEdycja", "0"}};
    for (const auto& s : stored) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(par(s.name), s.value);
    }
    const struct {
        const char* name;
        const char* value;
    } settings[] = {{"TabPozLicz", "2"},      {"TabPozWiersz", "4"}, {"TabKorKol", "65280"},
                    {"PlatForma", "Gotówka"}, {"PlatDni", "21"},     {"UstawPocz", "1"}};
    for (const auto& s : settings) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(reg(s.name), s.value);
    }
    EXPECT_EQ(t.app.gPrgPar.TabPozLicz, 2);
    EXPECT_TRUE(t.app.gBazaPar.NumMiesieczna);
    EXPECT_FALSE(t.app.gBazaPar.NumEdycja);

    d.txtNaglowek[2]->setText("NIP 123");
    d.cmdZamknij->click();  // "Anuluj": nothing more
    EXPECT_EQ(par("DokNaglowek3"), "");
    EXPECT_TRUE(r.seen.empty());
}

TEST_F(DocumentParameters, MonthlyNumbersWithoutTheMonthAreRefusedAndNothingIsSaved)
{
    const struct {
        QVariant part2, part3;
        bool ok;
    } cases[] = {
        {QVariant(), QVariant(), false},  // no part chosen at all
        {"/Rok[4]", QVariant(), false},
        {"", "/Rok[2]", false},
        {"/Rok[4]", "/Miesiąc", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.part2.toString().toStdString() + " " + c.part3.toString().toStdString());
        r.seen.clear();
        dlgParDok d(t.app);
        d.txtNaglowek[4]->setText("Bank");
        d.obNumMiesieczna->setChecked(true);
        d.cmbNumS2->setBoundValue(c.part2);
        d.cmbNumS3->setBoundValue(c.part3);
        d.tabDane->setCurrentIndex(0);
        d.cmdZapisz->click();
        EXPECT_EQ(d.result(), c.ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(par("DokNaglowek5"), c.ok ? "Bank" : "");
        if (c.ok) continue;
        ASSERT_EQ(r.seen.size(), 1u);
        EXPECT_EQ(r.seen[0].text, "Jeżeli ustawiona jest miesięczna numeracja dokumentów wymagane jest aby w numerze "
                                  "dokumentu zawarty był numer miesiąca. Zmień sposób numeracji i spróbuj ponownie.");
        EXPECT_EQ(d.tabDane->currentIndex(), dlgParDok::TabNumeracja);
    }
}

TEST_F(DocumentParameters, StoredDocumentsLockTheNumberingWhichIsThenNotRewritten)
{
    BaseParSave(t.app, t.db(), "NumSzablon", "Numer/Rok[4]/FAKTURA");  // longer than the text field takes
    BaseParSave(t.app, t.db(), "NumMiesieczna", "1");
    NumParRead(t.app);
    t.db().execute("INSERT INTO fadok (Inddok, Numer, Datawyst) VALUES ('FR', '1/2024/FAKTURA', '2024-05-06')");
    dlgParDok d(t.app);
    EXPECT_FALSE(d.fraSposob->isEnabled());
    EXPECT_FALSE(d.fraCiaglosc->isEnabled());
    EXPECT_TRUE(d.cbNumAuto->isEnabled());
    EXPECT_TRUE(d.txtNaglowek[0]->isEnabled());
    d.cbNumAuto->setChecked(false);
    d.cmdZapisz->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);  // no month in the template, yet nothing to refuse
    EXPECT_EQ(par("NumSzablon"), "Numer/Rok[4]/FAKTURA");
    EXPECT_EQ(par("NumMiesieczna"), "1");
    EXPECT_EQ(par("NumAuto"), "0");
    EXPECT_EQ(t.app.gBazaPar.NumSzablon, "Numer/Rok[4]/FAKTURA");
}

TEST_F(DocumentParameters, LogoIsStoredExactlyKeptWhenAPictureFailsAndRemoved)
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    const QString png = t.dir.filePath("logo.png");
    ASSERT_TRUE(image.save(png));
    QFile f(png);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const QString broken = t.dir.filePath("zepsute.bmp");
    QFile b(broken);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write(QByteArray(40000, 'x'));
    b.close();

    dlgParDok d(t.app);
    d.cmdLogoUsun->click();  // no logo row yet: removing it makes none
    d.cmdZastosuj->click();
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dbbin").toInt(), 0);

    chosen = png;
    d.cmdLogo->click();
    EXPECT_TRUE(d.hasLogo());
    EXPECT_EQ(d.logoPlik(), png);
    chosen = broken;  // a file that is no picture: said so, the previous one stays
    d.cmdLogo->click();
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text, "Błąd wczytywania grafiki.");
    EXPECT_EQ(d.logoPlik(), png);
    d.cmdZastosuj->click();
    EXPECT_EQ(logo().toBytes(), bytes);

    dlgParDok again(t.app);  // the stored logo is shown
    EXPECT_TRUE(again.hasLogo());
    again.cmdLogoUsun->click();
    EXPECT_EQ(again.logoPlik(), "Usuniety");
    again.cmdZapisz->click();
    EXPECT_TRUE(logo().isNull());
}
