#include "core/frm_input.h"
#include "platform/qor_combo.h"
#include "register/print_pipeline.h"
#include "register/report_format.h"
#include "register/report_mail.h"
#include "report_fixture.h"
#include "support/fake_tools.h"
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

// The document as an e-mail message made from the templates beside the program.

namespace {

struct Mail : ReportFixture {
    QString message = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/fakturarr.eml";

    void SetUp() override
    {
        ReportFixture::SetUp();
        QFile::remove(message);
        for (const char* name : {"Szablon Rolkwit.eml", "Szablon korekty rr.eml"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(ROLKWIT_PROGRAM_DIR "/") + name, t.dir.filePath(name)));
        // Values that must reach the HTML body as text: markup, "=", a line break, letters whose
        // codes differ between the character sets, and characters the message's set lacks.
        t.db().execute("UPDATE fadok SET Uwagi = ?, Nipkon = ?, PlatDni = 14, PlatTer = NULL",
                       {QString::fromUtf8("Cena <netto> & \"ryczałt\" = 2 × stawka®\nŚroda, źródło — 5 €"), "840=101"});
    }
    QString mail(const DocHeader& h)
    {
        select(h);
        return ReportMail(app, "FANET", "rapFANET1");
    }
    QByteArray bytes()
    {
        QFile f(message);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The message as text, and without its template's own part: what the program put there.
    QString text()
    {
        QStringDecoder d("ISO-8859-2");
        return d(bytes());
    }
    void useTemplate(const char* name, const QByteArray& content)
    {
        QFile f(t.dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
};

QByteArray golden(const char* name)
{
    QFile f(QStringLiteral(ROLKWIT_TESTS_DIR "/register/golden/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Compares with the stored message; ROLKWIT_UPDATE_GOLDEN=1 writes the message there instead.
void expectGolden(const QByteArray& actual, const char* name)
{
    if (qEnvironmentVariableIntValue("ROLKWIT_UPDATE_GOLDEN") == 1) {
        QFile f(QStringLiteral(ROLKWIT_TESTS_DIR "/register/golden/") + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(actual);
        return;
    }
    const QList<QByteArray> want = golden(name).split('\n'), got = actual.split('\n');
    ASSERT_FALSE(want.size() <= 1) << "no golden message " << name;
    for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i)
        ASSERT_EQ(got.value(i).toStdString(), want.value(i).toStdString()) << name << " line " << i + 1;
}

// Every line ends in CR LF and nothing of the templates' placeholders is left.
void expectWellFormed(const QByteArray& b)
{
    EXPECT_FALSE(b.isEmpty());
    EXPECT_TRUE(b.endsWith("\r\n"));
    EXPECT_EQ(b.count('\n'), b.count("\r\n"));
    EXPECT_EQ(b.count('\r'), b.count("\r\n"));
    static const QRegularExpression left("@[A-Z]{2,}");
    EXPECT_FALSE(QString::fromLatin1(b).contains(left)) << QString::fromLatin1(b).toStdString();
    for (char c : b) EXPECT_NE(c, '\0');
}

} // namespace

TEST_F(Mail, InvoiceMessageMatchesItsGoldenCopy)
{
    const QString path = mail(faktura);
    ASSERT_EQ(path, message);
    EXPECT_TRUE(answers.seen.empty());
    EXPECT_FALSE(QFile::exists(t.dir.filePath("fakturarr.eml")));
    const QByteArray b = bytes();
    expectWellFormed(b);
    expectGolden(b, "faktura.eml");
}

TEST_F(Mail, CorrectionMessageMatchesItsGoldenCopy)
{
    ASSERT_EQ(mail(korekta), message);
    const QByteArray b = bytes();
    expectWellFormed(b);
    expectGolden(b, "korekta.eml");
}

TEST_F(Mail, EveryInsertedTextIsEscapedAndEncodedForTheBody)
{
    ASSERT_FALSE(mail(faktura).isEmpty());
    const QByteArray b = bytes();
    // Markup arrives as text, "=" and the six letters as escapes, ® left out, a line break as <BR>,
    // "—" and "€" as references; "ł", "ó" and "ż" as single ISO-8859-2 bytes.
    EXPECT_TRUE(b.contains("Uwagi: Cena &lt;netto&gt; &amp; &quot;rycza\xb3t&quot; =3D 2 \xd7 stawka<BR>=A6roda, =BCr\xf3" "d\xb3o &#8212; 5 &#8364;\r\n"))
        << b.toStdString();
    EXPECT_TRUE(b.contains("NIP lub PESEL: 840=3D101<br>"));
    EXPECT_TRUE(b.contains("<STRONG>J\xf3zef \xaf\xf3\xb3kiewski</STRONG>"));
    // The subject is a header: one encoded word, never quoted-printable body text.
    EXPECT_TRUE(b.startsWith("To: \r\nSubject: =?UTF-8?B?"));
    const QByteArray subject = b.mid(b.indexOf("=?UTF-8?B?") + 10).split('?').first();
    EXPECT_EQ(QString::fromUtf8(QByteArray::fromBase64(subject)), QString::fromUtf8("FR 1/05/2024 - Zakład Skupu Zbóż „Kłos” Sp. z o.o."));
    EXPECT_EQ(KodujQP(QString::fromUtf8("a=b ĄąŚśŹź ęółżćń ®")), QString::fromUtf8("a=3Db =A1=B1=A6=B6=AC=BC ęółżćń "));
}

TEST_F(Mail, PlaceholdersAreFilledInOnePassAndOnlyAsWritten)
{
    // The company's first line holds a placeholder's name: it stays as typed.
    BaseParSave(app, t.db(), "DokNaglowek1", "Firma @NUMER");
    useTemplate("Szablon Rolkwit.eml", "A:@FIRMANAG1|B:@NUMER @NUMER|C:@numer|D:@POTRACENIE|E:@OPISPOTRACENIE\r\n"
                                       "    <TR>\r\n      <TD vAlign=3Dtop align=3Dright>@LP</TD> \r\n");
    ASSERT_FALSE(mail(faktura).isEmpty());
    const QString m = text();
    EXPECT_TRUE(m.startsWith("A:Firma @NUMER|B:1/05/2024 1/05/2024|C:@numer|D:"));
    // "@POTRACENIE" inside "@OPISPOTRACENIE" is not replaced on its own.
    EXPECT_TRUE(m.contains("E:Potr=B1cenie 0,1 % warto=B6ci netto na Fundusz Promocji")) << m.toStdString();
    // A sample row that differs from the program's by one blank is left as it was.
    EXPECT_TRUE(m.contains("@LP</TD> \r\n"));
}

TEST_F(Mail, PaymentTextDeductionAndTheCorrectionsWordsFollowTheDocument)
{
    const QByteArray fields = "@TERMIN|@OPISPOTRACENIE|@POTRACENIE|@OPISKWOTA|@OPISDOWYPLATY|@RAZBRUTTO|@RZBRUTTO|@DOWYPLATY";
    useTemplate("Szablon Rolkwit.eml", fields);
    useTemplate("Szablon korekty rr.eml", fields);
    const QString fr = QString::fromUtf8("|Kwota nalezno=B6ci|DO WYPŁATY|") + KwotaTekst(*faktura.RazBrutto) + "|"
                       + KwotaTekst(*faktura.RazBrutto) + "|" + KwotaTekst(*faktura.DoZaplaty);
    ASSERT_LT(*korekta.RazBrutto, Decimal());
    const QString kfr = QString::fromUtf8("|Kwota zmniejszenia|ZWROT|") + KwotaTekst(*korekta.RazBrutto) + "|"
                        + KwotaTekst(-*korekta.RazBrutto) + "|" + KwotaTekst(*korekta.DoZaplaty);
    struct Case {
        const char* sql;
        const DocHeader& doc;
        QString want;
    } cases[] = {
        {"UPDATE fadok SET PlatFor = 'przelew', PlatDni = 14, PlatTer = '20.05.2024', PlatRach = '12 34'", faktura,
         QString::fromUtf8("przelew 14 dni - 20.05.2024 Nr rachunku bankowego: 12 34|Potr=B1cenie 0,1 % warto=B6ci netto na "
                           "Fundusz Promocji Ziarna Zbóż i Przetworów Zbożowych:|")
             + KwotaTekst(*faktura.Potracenie) + fr},
        {"UPDATE fadok SET PlatDni = 7, PlatTer = 'od dostawy', PlatRach = NULL, Potracenie = 0", faktura,
         "przelew 7 dni od dostawy||" + fr},
        {"UPDATE fadok SET PlatDni = 0, PlatRach = '99 = 1', Potracenie = NULL", faktura,
         "przelew Nr rachunku bankowego: 99 =3D 1||" + fr},
        {"UPDATE fadok SET PlatRach = NULL", korekta, "przelew||" + kfr},
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
    select(korekta);
    EXPECT_EQ(ReportMail(app, "FAKTURA", "rapFANET1"), "");
    printState(app).gRepPar = {"ZM  1", "1/05/2024"};
    EXPECT_EQ(ReportMail(app, "FANET", "rapFANET1"), "");
    printState(app).gRepPar = {"FR  9/09/2099", "9/09/2099"};
    EXPECT_EQ(ReportMail(app, "FANET", "rapFANET1"), "");
    EXPECT_TRUE(answers.seen.empty());

    QFile::remove(t.dir.filePath("Szablon korekty rr.eml"));
    EXPECT_EQ(mail(korekta), "");
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(answers.seen[0].icon, ui::Icon::Critical);
    EXPECT_EQ(answers.last(), QString::fromUtf8("Brak pliku: ") + t.dir.filePath("Szablon korekty rr.eml")
                                  + QString::fromUtf8(". Sprawdź czy plik istnieje oraz czy nie został uszkodzony."));
    // The earlier message is left whole.
    EXPECT_EQ(bytes(), before);
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
        ASSERT_EQ(tools.calls("xdg-open").size(), 1);
        EXPECT_EQ(tools.calls("xdg-open")[0], QStringList{message});
        EXPECT_TRUE(answers.seen.empty());
    }
    {
        FakeTools failing;
        failing.add("xdg-open", 4);
        EXPECT_FALSE(wyslij());
        ASSERT_EQ(answers.seen.size(), 1u);
        EXPECT_TRUE(answers.last().startsWith(QString::fromUtf8("Program nie może przekazać wiadomości")));
    }
}
