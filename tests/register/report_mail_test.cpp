#include "register/report_mail.h"
#include "core/frm_input.h"
#include "platform/qor_combo.h"
#include "register/print_pipeline.h"
#include "register/report_format.h"
#include "report_fixture.h"
#include "support/fake_tools.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

// The document as an e-mail message made from the templates beside the program.

namespace {

struct Mail : ReportFixture {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QString message;  // the last message written

    void SetUp() override
    {
        ReportFixture::SetUp();
        for (const QString& old : QDir(folder).entryList({"fakturarr*.eml"})) QFile::remove(QDir(folder).filePath(old));
        for (const char* name : {"Szablon Rolkwit.eml", "Szablon korekty rr.eml"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(ROLKWIT_PROGRAM_DIR "/") + name, t.dir.filePath(name)));
        // Values that must reach the HTML body as text: markup, "=", a line break, letters whose
        // codes differ between the character sets, characters the message's set lacks.
        t.db().execute("UPDATE fadok SET Uwagi = ?, Nipkon = ?, PlatDni = 14, PlatTer = NULL",
                       {QString::fromUtf8("Cena <netto> & \"ryczałt\" = 2 × stawka®\nŚroda, źródło — 5 €"), "840=101"});
    }
    QString mail(const DocHeader& h)
    {
        select(h);
        const QString written = ReportMail(app, "FANET", "rapFANET1");
        if (!written.isEmpty()) message = written;
        return written;
    }
    QByteArray bytes(const QString& path = {})
    {
        QFile f(path.isEmpty() ? message : path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString text() { return QStringDecoder("ISO-8859-2")(bytes()); }
    void useTemplate(const char* name, const QByteArray& content)
    {
        QFile f(t.dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
};

// Compares line by line with the stored message; ROLKWIT_UPDATE_GOLDEN=1 stores it instead.
void expectGolden(const QByteArray& actual, const QString& name)
{
    QFile f(QStringLiteral(ROLKWIT_TESTS_DIR "/register/golden/") + name);
    if (qEnvironmentVariableIntValue("ROLKWIT_UPDATE_GOLDEN") == 1) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(actual);
        return;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    const QList<QByteArray> want = f.readAll().split('\n'), got = actual.split('\n');
    for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i)
        ASSERT_EQ(got.value(i).toStdString(), want.value(i).toStdString()) << "line " << i + 1;
}

}  // namespace

TEST_F(Mail, InvoiceAndCorrectionMessagesMatchTheirGoldenCopies)
{
    static const QRegularExpression placeholder("@[A-Z]{2,}");
    // Each message gets a file of its own among the user's data; none replaces an earlier one.
    struct Case {
        const DocHeader* doc;
        const char* golden;
        const char* file;
    };
    for (const Case& c :
         {Case{&faktura, "faktura.eml", "fakturarr.eml"}, Case{&korekta, "korekta.eml", "fakturarr-2.eml"},
          Case{&faktura, "faktura.eml", "fakturarr-3.eml"}}) {
        const char* golden = c.golden;
        SCOPED_TRACE(c.file);
        ASSERT_EQ(mail(*c.doc), folder + "/" + c.file);
        const QByteArray b = bytes();
        // Every line ends in CR LF; nothing of the templates' placeholders or sample rows is left.
        EXPECT_EQ(b.count('\n'), b.count("\r\n"));
        EXPECT_EQ(b.count('\r'), b.count("\r\n"));
        EXPECT_FALSE(QString::fromLatin1(b).contains(placeholder));
        expectGolden(b, golden);
    }
    expectGolden(bytes(folder + "/fakturarr.eml"), "faktura.eml");
    EXPECT_TRUE(answers.seen.empty());
    EXPECT_FALSE(QFile::exists(t.dir.filePath("fakturarr.eml")));  // among the user's data, not beside the program
}

TEST_F(Mail, TheSubjectIsOneEncodedWordAndTheBodysEscapesAreTheTemplates)
{
    ASSERT_FALSE(mail(faktura).isEmpty());
    const QByteArray b = bytes();
    ASSERT_TRUE(b.startsWith("To: \r\nSubject: =?UTF-8?B?"));
    const QByteArray subject = b.mid(b.indexOf("=?UTF-8?B?") + 10).split('?').first();
    EXPECT_EQ(QString::fromUtf8(QByteArray::fromBase64(subject)),
              QString::fromUtf8("FR 1/05/2024 - Zakład Skupu Zbóż „Kłos” Sp. z o.o."));
    EXPECT_EQ(KodujQP(QString::fromUtf8("a=b ĄąŚśŹź ęółżćń ®")), QString::fromUtf8("a=3Db =A1=B1=A6=B6=AC=BC ęółżćń "));
}

TEST_F(Mail, PlaceholdersAreFilledInOnePassAndOnlyAsWritten)
{
    BaseParSave(app, t.db(), "DokNaglowek1", "Firma @NUMER");
    useTemplate("Szablon Rolkwit.eml", "A:@FIRMANAG1|B:@NUMER @NUMER|C:@numer|E:@OPISPOTRACENIE\r\n"
                                       "    <TR>\r\n      <TD vAlign=3Dtop align=3Dright>@LP</TD> \r\n");
    ASSERT_FALSE(mail(faktura).isEmpty());
    const QString m = text();
    // A value holding a placeholder's name stays as typed; "@POTRACENIE" inside "@OPISPOTRACENIE"
    // is not replaced on its own; a sample row that differs by one blank is left as it was.
    EXPECT_TRUE(
        m.startsWith("A:Firma @NUMER|B:1/05/2024 1/05/2024|C:@numer|E:Potr=B1cenie 0,1 % warto=B6ci netto na Fundusz"))
        << m.toStdString();
    EXPECT_TRUE(m.endsWith("@LP</TD> \r\n"));
}

TEST_F(Mail, PaymentTextDeductionAndTheCorrectionsWordsFollowTheDocument)
{
    const QByteArray fields =
        "@TERMIN|@OPISPOTRACENIE|@POTRACENIE|@OPISKWOTA|@OPISDOWYPLATY|@RAZBRUTTO|@RZBRUTTO|@DOWYPLATY";
    useTemplate("Szablon Rolkwit.eml", fields);
    useTemplate("Szablon korekty rr.eml", fields);
    auto amounts = [](const DocHeader& h) {
        return reportAmountText(*h.RazBrutto) + "|" +
               reportAmountText(h.RazBrutto->units() < 0 ? -*h.RazBrutto : *h.RazBrutto) + "|" +
               reportAmountText(*h.DoZaplaty);
    };
    const QString fr = QString::fromUtf8("|Kwota nalezno=B6ci|DO WYPŁATY|") + amounts(faktura);
    struct Case {
        const char* sql;
        const DocHeader& doc;
        QString want;
    } cases[] = {
        {"UPDATE fadok SET PlatDni = 14, PlatTer = '20.05.2024', PlatRach = '12 34'", faktura,
         QString::fromUtf8(
             "przelew 14 dni - 20.05.2024 Nr rachunku bankowego: 12 34|Potr=B1cenie 0,1 % warto=B6ci netto na "
             "Fundusz Promocji Ziarna Zbóż i Przetworów Zbożowych:|32,00") +
             fr},
        {"UPDATE fadok SET PlatDni = 7, PlatTer = 'od dostawy', PlatRach = NULL, Potracenie = 0", faktura,
         "przelew 7 dni od dostawy||" + fr},
        {"UPDATE fadok SET PlatDni = 0, PlatRach = '99 = 1', Potracenie = NULL", faktura,
         "przelew Nr rachunku bankowego: 99 =3D 1||" + fr},
        {"UPDATE fadok SET PlatRach = NULL", korekta, "przelew|||Kwota zmniejszenia|ZWROT|" + amounts(korekta)},
        {"UPDATE fadok SET RazBrutto = 50000, DoZaplaty = 50000", korekta,
         QString::fromUtf8("przelew|||Kwota zwiększenia|DOPŁATA|5,00|5,00|5,00")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        t.db().execute(c.sql);
        ASSERT_FALSE(mail(c.doc).isEmpty());
        EXPECT_EQ(text(), c.want);
    }
}

TEST_F(Mail, NothingIsWrittenWithoutAKindATemplateOrADocument)
{
    ASSERT_FALSE(mail(faktura).isEmpty());
    const QByteArray before = bytes();
    EXPECT_EQ(ReportMail(app, "FAKTURA", "rapFANET1"), "");
    printState(app).gRepPar = {"FR  9/09/2099", "9/09/2099"};
    EXPECT_EQ(ReportMail(app, "FANET", "rapFANET1"), "");
    EXPECT_TRUE(answers.seen.empty());

    QFile::remove(t.dir.filePath("Szablon korekty rr.eml"));
    EXPECT_EQ(mail(korekta), "");
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(answers.seen[0].icon, ui::Icon::Critical);
    EXPECT_EQ(answers.last(), QString::fromUtf8("Brak pliku: ") + t.dir.filePath("Szablon korekty rr.eml") +
                                  QString::fromUtf8(". Sprawdź czy plik istnieje oraz czy nie został uszkodzony."));
    EXPECT_EQ(bytes(), before);  // the earlier message is left whole
}

TEST_F(Mail, SendingAsHtmlOpensTheMessageAndReportsAnOpenerThatFails)
{
    answers.dialog = [](QDialog& d) {
        auto& box = dynamic_cast<frmInCmb&>(d);
        box.cmbInput->setBoundValue("html");
        box.cmdOk_Click();
        return 1;
    };
    auto wyslij = [&] {
        select(faktura);
        return RepPrint(app, "wyslij", "FANET", "rapFANET1", "FR  1/05/2024", 0, false, 0, 0);
    };
    {
        FakeTools tools;
        tools.add("xdg-open", 0);
        EXPECT_TRUE(wyslij());
        EXPECT_EQ(tools.calls("xdg-open"), QList<QStringList>{{folder + "/fakturarr.eml"}});
        EXPECT_TRUE(answers.seen.empty());
    }
    FakeTools failing;
    failing.add("xdg-open", 4);
    EXPECT_FALSE(wyslij());
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_TRUE(answers.last().startsWith(QString::fromUtf8("Program nie może przekazać wiadomości")));
    EXPECT_TRUE(answers.last().endsWith(QString::fromUtf8("zapisana w pliku: ") + folder + "/fakturarr-2.eml"))
        << answers.last().toStdString();
}
