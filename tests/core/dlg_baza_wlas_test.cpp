#include "core/dlg_baza_wlas.h"
#include "core/base_connect.h"
#include "core/base_par.h"
#include "core/dlg_baza_haslo.h"
#include "core/dlg_error.h"
#include "core/frm_input.h"
#include "core/main_frame.h"
#include "core/registry.h"
#include "platform/qor_controls.h"
#include "support/scoped_responder.h"
#include "support/temp_database.h"
#include "support/test_settings.h"
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// Stands in for the main window: records what the dialog asks of it.
struct FakeFrame : MainFrame {
    int attachDatabase = 0, detachDatabase = 0, reattachDatabase = 0;
    QList<bool> trybOdczyt;
    void Form_Load() override {}
    bool Przylacz() override { return ++attachDatabase > 0; }
    void reattachSameDatabase() override { ++reattachDatabase; }
    bool Odlacz() override { return ++detachDatabase > 0; }
    void dropDatabase() override {}
    void MenuBaseEnable(bool) override {}
    void ToolbarTrybOdczyt(bool enable) override { trybOdczyt << enable; }
    QWidget* frameWidget() override { return nullptr; }
};

struct Properties : ::testing::Test {
    TempDatabase t;
    ScopedResponder r;
    FakeFrame frame;
    int errorDialogs = 0;
    QStringList errors;
    void SetUp() override
    {
        useTestSettings(t.app);
        RegKeyCreate(t.app.gRegProgramKey);
        t.app.mainFrame = &frame;
        r.dialog = [this](QDialog& d) {
            if (auto* h = dynamic_cast<dlgBazaHaslo*>(&d)) {  // the new password, typed twice
                h->txtOpis->setText("Null");
                h->txtHaslo->setText("Null");
                h->cmdOk->click();
                return int(QDialog::Accepted);
            }
            if (auto* box = dynamic_cast<frmInput*>(&d)) {
                box->txtInput->setText("Nowa.mdb");
                box->cmdOk->click();
                return int(QDialog::Accepted);
            }
            ++errorDialogs;
            if (auto* e = dynamic_cast<dlgError*>(&d)) errors << e->txtErrorOpis->toPlainText();
            return 0;
        };
    }
    // What a plain SQLite shell makes of the file.
    static QProcess::ExitStatus shell(const QString& path, int& code)
    {
        QString tool = QStandardPaths::findExecutable("sqlite3");
        if (tool.isEmpty()) tool = QStandardPaths::findExecutable("sqlcipher");
        QProcess p;
        p.start(tool, {path, "SELECT count(*) FROM fadok;"});
        p.waitForFinished();
        code = p.exitCode();
        return p.exitStatus();
    }
};

}  // namespace

TEST_F(Properties, ShowsTheDatabaseAndItsSettings)
{
    RegSave(t.app.gRegProgramKey, "BazaKopiaCoDni", "7");
    dlgBazaWlas d(t.app);
    EXPECT_EQ(d.windowTitle(), "Właściwości: Firma.mdb");
    EXPECT_EQ(d.txtNazwaBazy->text(), "Firma");
    EXPECT_EQ(d.txtSciezkaBazy->text(), t.path);
    ASSERT_EQ(d.lstProgramy->count(), 1);
    EXPECT_EQ(d.lstProgramy->item(0)->text(), "Rolkwit w. 3.5");
    EXPECT_FALSE(d.labHasloBrak->isHidden());
    EXPECT_TRUE(d.labHasloJest->isHidden());
    EXPECT_EQ(d.cmdHaslo->text(), "Wprowadź hasło...");
    EXPECT_EQ(d.txtKopiadni->text(), "7");
    EXPECT_EQ(d.txtKopiaFolder->text(), QDir::toNativeSeparators(t.dir.filePath("Archiwum")));
    EXPECT_FALSE(d.cbKopia->isChecked());
    EXPECT_GT(*d.txtRozBazy->value(), Decimal());
    EXPECT_GT(*d.txtRozWolne->value(), Decimal());
    // Sizes beyond 32 bits.
    EXPECT_EQ(toMegabytes(3'000'000'000LL).toDisplay(2), "2 861,02");
    EXPECT_EQ(toMegabytes(5LL << 40).toDisplay(0), "5 242 880");
}

TEST_F(Properties, OkStoresTheLockAndTheBackupSettingsAnulujNothing)
{
    const QString key = t.app.gRegProgramKey;
    {
        dlgBazaWlas d(t.app);
        d.cbTylkoOdczyt->setChecked(true);
        d.cbKopia->setChecked(true);
        d.txtKopiaFolder->setText("/kopie");
        d.cbAnuluj->click();
    }
    EXPECT_EQ(BaseParRead(t.app, t.db(), "BazaOdczyt", "x"), "0");
    EXPECT_EQ(RegValueRead(key, "BazaKopia"), QString("0"));
    EXPECT_EQ(RegValueRead(key, "BazaKopiaFolder"), QString(""));
    EXPECT_TRUE(frame.trybOdczyt.isEmpty());

    dlgBazaWlas d(t.app);
    d.cbTylkoOdczyt->setChecked(true);
    d.cbKopia->setChecked(true);
    d.cbKopiaPot->setChecked(true);
    d.txtKopiadni->setText("3");
    d.txtKopiaFolder->setText("/kopie");
    d.cmbOk->click();
    EXPECT_EQ(BaseParRead(t.app, t.db(), "BazaOdczyt", "x"), "1");
    EXPECT_TRUE(t.app.gBazaPar.BazaOdczyt);
    EXPECT_EQ(frame.trybOdczyt, QList<bool>{false});
    const struct {
        const char* name;
        const char* value;
    } values[] = {{"BazaKopia", "1"},
                  {"BazaKopiaPotwierdz", "1"},
                  {"BazaKopiaDzien", "0"},
                  {"BazaKopiaCoDni", "3"},
                  {"BazaKopiaFolder", "/kopie"}};
    for (const auto& v : values) {
        SCOPED_TRACE(v.name);
        EXPECT_EQ(RegValueRead(key, v.name), QString(v.value));
    }
}

TEST_F(Properties, APasswordProtectsTheFileIsAskedAtTheNextOpenAndCanBeRemoved)
{
    dlgBazaWlas d(t.app);
    d.cmdHaslo->click();
    // Kept as typed, even the text "Null".
    EXPECT_EQ(t.app.gBazaHaslo, "Null");
    EXPECT_FALSE(t.app.gBazaWylacznie);
    ASSERT_TRUE(t.app.gBazaOtwarta);
    EXPECT_TRUE(t.db().isEncrypted());
    EXPECT_EQ(frame.detachDatabase, 1);
    // The same documents: the window takes them up again as it shows them, asking nothing.
    EXPECT_EQ(frame.reattachDatabase, 1);
    EXPECT_EQ(frame.attachDatabase, 0);
    EXPECT_TRUE(d.labHasloBrak->isHidden());
    EXPECT_FALSE(d.labHasloJest->isHidden());
    EXPECT_EQ(d.cmdHaslo->text(), "Usuń hasło...");
    int code = 0;
    EXPECT_EQ(shell(t.path, code), QProcess::NormalExit);
    EXPECT_NE(code, 0);  // a plain SQLite shell cannot read it

    // The next start asks for it.
    BaseDisconnect(t.app);
    t.app.gBazaHaslo.clear();
    QStringList asked;
    ASSERT_TRUE(checkAndConnect(
        t.app, t.path,
        [&](const QString& opis) {
            asked << opis;
            return std::optional<QString>("Null");
        },
        QString()));
    EXPECT_EQ(asked, QStringList{"Firma"});

    // Removing asks first; "Nie" changes nothing.
    r.answers = {ui::Answer::No};
    d.cmdHaslo->click();
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text, "Zabezpieczenie bazy hasłem zostanie usunięte. Usunąć hasło bazy danych?");
    EXPECT_EQ(r.seen[0].title, "Zapisanie nowego hasła");
    EXPECT_EQ(r.seen[0].defaultButton, ui::Answer::No);
    EXPECT_EQ(t.app.gBazaHaslo, "Null");
    d.cmdHaslo->click();  // "Tak"
    EXPECT_EQ(t.app.gBazaHaslo, "");
    EXPECT_TRUE(db::isPlainDatabaseFile(t.path));
    EXPECT_EQ(shell(t.path, code), QProcess::NormalExit);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(d.cmdHaslo->text(), "Wprowadź hasło...");
    EXPECT_EQ(errorDialogs, 0);
}

TEST_F(Properties, AFailedPasswordChangeReconnectsAsBefore)
{
    dlgBazaWlas d(t.app);
    // Another workstation has the file open: it cannot be had exclusively.
    auto other = db::Database::open(t.path);
    other->executeScript("BEGIN; SELECT count(*) FROM dbpar;");
    d.cmdHaslo->click();
    EXPECT_EQ(errorDialogs, 1) << errors.join("\n").toStdString();
    EXPECT_EQ(t.app.gBazaHaslo, "");
    EXPECT_FALSE(t.app.gBazaWylacznie);
    ASSERT_TRUE(t.app.gBazaOtwarta);
    EXPECT_FALSE(t.db().isExclusive());
    // Refused before the window let go of anything: the typed document stays as it was.
    EXPECT_EQ(frame.detachDatabase, 0);
    EXPECT_EQ(frame.attachDatabase, 0);
    EXPECT_TRUE(db::isPlainDatabaseFile(t.path));
    EXPECT_EQ(d.cmdHaslo->text(), "Wprowadź hasło...");

    // The rewrite itself fails (its temporary file cannot be made): the file keeps no password.
    other.reset();
    QDir().mkpath(t.path + ".haslo.tmp");
    d.cmdHaslo->click();
    EXPECT_EQ(errorDialogs, 2);
    EXPECT_EQ(t.app.gBazaHaslo, "");
    EXPECT_TRUE(db::isPlainDatabaseFile(t.path));
    ASSERT_TRUE(t.app.gBazaOtwarta);
    EXPECT_FALSE(t.db().isExclusive());
    EXPECT_EQ(frame.reattachDatabase, 1);  // the window is attached again
    EXPECT_EQ(frame.attachDatabase, 0);
}

TEST_F(Properties, RenameCopiesToTheNewNameAndWorksThere)
{
    t.db().execute("INSERT INTO fadok (Inddok, Numer, Datawyst) VALUES ('FR', '1/05/2024', '2024-05-06')");
    dlgBazaWlas d(t.app);
    d.cmdZmienNazwe->click();  // typed "Nowa.mdb": the extension is cut off
    const QString nowa = t.dir.filePath("Nowa.mdb");
    EXPECT_EQ(t.app.gPrgPar.BazaPlik, nowa);
    EXPECT_EQ(d.txtNazwaBazy->text(), "Nowa");
    EXPECT_EQ(d.txtSciezkaBazy->text(), nowa);
    ASSERT_TRUE(t.app.gBazaOtwarta);
    EXPECT_EQ(QFileInfo(t.db().path()).fileName(), "Nowa.mdb");
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), 1);
    EXPECT_TRUE(QFileInfo::exists(t.path));  // the old file stays
    EXPECT_EQ(frame.detachDatabase, 1);
    EXPECT_EQ(frame.attachDatabase, 1);
}
