#include "core/error_report.h"
#include "core/dlg_error.h"
#include "core/error_messages.h"
#include "core/registry.h"
#include "platform/ini_file.h"
#include "support/fake_tools.h"
#include "support/scoped_responder.h"
#include "support/temp_database.h"
#include "support/test_settings.h"
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A command that raises `error`, run as the window runs its commands: reported, not let through.
void raiseAndReport(App& app, const AppError& error, const QString& where)
{
    EXPECT_NO_THROW(runCommand(app, where, [&] { throw error; }));
}

QString footer(const App& app)
{
    return "Jeżeli nie jesteś w stanie określić przyczyny błędu wyślij informację o okolicznościach jego występowania "
           "na adres: " +
           app.supportAddress + "\r\nDo poczty załącz plik dziennika błędów: Error.log.";
}

}  // namespace

class ErrorReporting : public ::testing::Test {
protected:
    QTemporaryDir dir;
    App app;
    ScopedResponder responder;
    QString log() const { return dir.filePath("Error.log"); }
    void SetUp() override
    {
        useTestSettings(app, dir.path());
        QFile::copy(ROLKWIT_PROGRAM_DIR "/Errormsg.txt", dir.filePath("Errormsg.txt"));
    }
};

TEST_F(ErrorReporting, MessagesComeFromTheSectionOfTheirSource)
{
    EXPECT_EQ(errorSection(app, {err::kNoCurrentRecord, "/dane/Firma.mdb", "x"}), "DAO");
    EXPECT_EQ(errorSection(app, {err::kNoCurrentRecord, "DAO.Recordset", "x"}), "DAO");
    EXPECT_EQ(errorSection(app, {err::kOverflow, "Rolkwit", "x"}), "Program");
    EXPECT_EQ(errorSection(app, {err::kOverflow, "Decimal", "x"}), "Program");  // no section of its own in the file

    EXPECT_TRUE(ErrorMsgRead(app, "DAO", err::kNoCurrentRecord).startsWith("Brak bieżącego rekordu"));
    EXPECT_TRUE(ErrorMsgRead(app, "DAO", err::kNoDiskSpace).startsWith("Brak miejsca na dysku"));
    EXPECT_TRUE(ErrorMsgRead(app, "DAO", err::kFileReplaced).startsWith("Plik bazy danych został zastąpiony"));
    EXPECT_EQ(ErrorMsgRead(app, "Program", 9999), "Błąd programu. " + footer(app));
    EXPECT_EQ(ErrorMsgRead(app, "DAO", 3999), "Błąd dostępu lub przetwarzania danych. " + footer(app));
    QFile::remove(dir.filePath("Errormsg.txt"));
    EXPECT_EQ(ErrorMsgRead(app, "DAO", err::kNoCurrentRecord),
              "Brak dostępu do pliku opisów błędów: " + dir.filePath("Errormsg.txt") +
                  " - sprawdź czy we wskazanym folderze znaduje się plik Errormsg.txt.");
}

TEST_F(ErrorReporting, DialogShowsTheErrorAndLogsItWhenAsked)
{
    RegSave(app.gRegProgramKey, "Zapisz błędy", "1");
    bool compact = false, detailsHidden = false, sendHidden = false;
    responder.dialog = [&](QDialog& d) {
        auto& e = dynamic_cast<dlgError&>(d);
        EXPECT_EQ(e.windowTitle(), "Błąd programu");
        EXPECT_TRUE(e.txtErrorPolski->toPlainText().startsWith("Plik bazy danych jest otwarty w trybie wyłączności"));
        EXPECT_EQ(e.txtErrorNumber->text(), "3045");
        EXPECT_EQ(e.txtErrorSource->text(), "/dane/Firma.mdb");
        EXPECT_EQ(e.txtErrorOpis->toPlainText(), "Plik jest zajęty. [BaseConnect]");
        EXPECT_TRUE(e.cbrejestr->isChecked());
        compact = e.height() == 1890 / 15;
        detailsHidden = e.txtErrorNumber->isHidden();
        sendHidden = e.cmdWyslij->isHidden();
        e.cmdSzczegol->click();
        EXPECT_EQ(e.height(), 4620 / 15);
        EXPECT_FALSE(e.cmdSzczegol->isEnabled());
        EXPECT_FALSE(e.cmdWyslij->isHidden());
        e.cmdOk->click();
        return e.result();
    };
    raiseAndReport(app, AppError(err::kFileInUse, "/dane/Firma.mdb", "Plik jest zajęty."), "BaseConnect");
    EXPECT_TRUE(compact && detailsHidden && sendHidden);

    QStringList keys;
    for (QString k : {"Program", "Źródło", "Numer", "Obiekt", "Opis"}) keys << k;
    QFile f(log());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[0].startsWith("[") && lines[0].endsWith("]"));
    EXPECT_EQ(lines.mid(1), QStringList({"Program=Rolkwit ver. 3.5.12", "Źródło=/dane/Firma.mdb", "Numer=3045",
                                         "Obiekt=BaseConnect", "Opis=Plik jest zajęty. [BaseConnect]"}));
}

TEST_F(ErrorReporting, TwoErrorsInOneMinuteKeepBothLogEntries)
{
    QDateTime when(QDate(2024, 3, 1), QTime(14, 0, 5));
    ErrorLogEntry a{"Rolkwit ver. 3.5.12", "Rolkwit", "6", "ZapiszDokument", "Przepełnienie [ZapiszDokument]"};
    ErrorLogEntry b{"Rolkwit ver. 3.5.12", "Rolkwit", "11", "PozycjeSumuj", "Dzielenie [PozycjeSumuj]"};
    QString first = writeErrorLogEntry(log(), a, when);
    QString second = writeErrorLogEntry(log(), b, when.addSecs(30));
    EXPECT_EQ(second, first + " (2)");
    EXPECT_EQ(ini::readString(log(), first, "Numer"), QString("6"));
    EXPECT_EQ(ini::readString(log(), second, "Numer"), QString("11"));
}

TEST_F(ErrorReporting, UntickingTheLogStoresZeroAndWritesNothing)
{
    RegSave(app.gRegProgramKey, "Zapisz błędy", "1");
    responder.dialog = [](QDialog& d) {
        auto& e = dynamic_cast<dlgError&>(d);
        e.cmdSzczegol->click();
        e.cbrejestr->setChecked(false);
        e.reject();  // the close box
        return 0;
    };
    raiseAndReport(app, AppError(err::kOverflow, "Rolkwit", "Przepełnienie"), "PozycjeSumuj");
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "Zapisz błędy"), QString("0"));
    EXPECT_FALSE(QFile::exists(log()));
}

TEST_F(ErrorReporting, AnyFailureOfACommandIsReportedUnderItsName)
{
    QStringList shown;
    responder.dialog = [&](QDialog& d) {
        auto& e = dynamic_cast<dlgError&>(d);
        shown << e.Obiekt + ": " + e.txtErrorOpis->toPlainText();
        return 1;
    };
    EXPECT_NO_THROW(runCommand(app, "mnuBazaOtworz_Click", [] { throw std::runtime_error("brak pliku"); }));
    EXPECT_NO_THROW(runCommand(app, "mnuBazaNowa_Click", [] { throw 42; }));
    EXPECT_EQ(shown, QStringList({"mnuBazaOtworz_Click: brak pliku [mnuBazaOtworz_Click]",
                                  QString::fromUtf8("mnuBazaNowa_Click: Nieznany błąd. [mnuBazaNowa_Click]")}));
}

TEST_F(ErrorReporting, AbortAsksThenLogsRollsBackClosesAndEnds)
{
    TempDatabase t;
    useTestSettings(t.app, dir.path());
    RegSave(t.app.gRegProgramKey, "Zapisz błędy", "1");
    int ended = -1;
    t.app.terminate = [&](int code) { ended = code; };
    t.db().execute("BEGIN");
    t.db().execute("INSERT INTO dbpar (Indpar, Wartosc) VALUES ('X', 'niezatwierdzone')");

    ui::Answer answer = ui::Answer::No;
    responder.answer = [&](const ui::Message& m) {
        EXPECT_EQ(m.defaultButton, ui::Answer::No);
        return answer;
    };
    responder.dialog = [&](QDialog& d) {
        auto& e = dynamic_cast<dlgError&>(d);
        e.cmdPrzerwij->click();
        EXPECT_EQ(ended, -1);  // answered No: the dialog stays
        EXPECT_FALSE(QFile::exists(log()));
        answer = ui::Answer::Yes;
        e.cmdPrzerwij->click();
        return 0;
    };
    raiseAndReport(t.app, AppError(err::kDuplicateKey, "fadok", "Powtórzony klucz"), "ZapiszDokument");
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(responder.seen.back().text,
              "Nastąpi przerwanie działania programu. Wszystkie niezapisane dane zostaną utracone. Kontynuować?");
    EXPECT_FALSE(t.app.gBaseDb);
    QFile f(log());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("Obiekt=ZapiszDokument"));
    auto reopened = db::Database::open(t.path);
    EXPECT_EQ(reopened->scalar("SELECT count(*) FROM dbpar WHERE Indpar = 'X'").toInt(), 0);
}

TEST_F(ErrorReporting, ReportMailTravelsEncodedByLinkOrComposed)
{
    FakeTools tools;
    tools.add("xdg-open", 0);
    tools.add("xdg-email", 0);
    responder.dialog = [](QDialog& d) {
        auto& e = dynamic_cast<dlgError&>(d);
        e.cmdSzczegol->click();
        e.cmdWyslij->click();
        e.cmdOk->click();
        return 1;
    };
    app.gPrgPar.BezMAPI = 1;
    raiseAndReport(app, AppError(err::kTypeMismatch, "Rolkwit", "Niezgodność typów & co #2"), "Przyłącz");
    ASSERT_EQ(tools.calls("xdg-open").size(), 1);
    QString link = tools.calls("xdg-open")[0].value(0);
    EXPECT_TRUE(link.startsWith("mailto:" + app.supportAddress +
                                "?subject=B%C5%82%C4%85d%20programu%20Rolkwit%20v.3.5.12&body="));
    EXPECT_TRUE(link.contains("Niezgodno%C5%9B%C4%87%20typ%C3%B3w%20%26%20co%20%232%20%5BPrzy%C5%82%C4%85cz%5D"));

    app.gPrgPar.BezMAPI = 0;
    raiseAndReport(app, AppError(err::kTypeMismatch, "Rolkwit", "Niezgodność typów"), "Przyłącz");
    ASSERT_EQ(tools.calls("xdg-email").size(), 1);
    QStringList toolArgs = tools.calls("xdg-email")[0];
    ASSERT_GE(toolArgs.size(), 6);
    EXPECT_EQ(toolArgs[2], "Błąd programu Rolkwit v.3.5.12");
    // xdg-email gets plain line ends: it encodes them itself.
    EXPECT_TRUE(toolArgs[4].startsWith("(>tutaj wpisz okoliczności wystąpienia błędu<)\n\n\nProszę nie kasować"));
    EXPECT_TRUE(toolArgs[4].contains("Numer: 13\nŹródło: Rolkwit\n"));
    EXPECT_FALSE(toolArgs[4].contains('\r'));
    EXPECT_EQ(toolArgs.last(), app.supportAddress);
}
