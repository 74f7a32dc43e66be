#include "register/invoice_report.h"
#include "platform/report_render.h"
#include "register/print_pipeline.h"
#include "register/rap_fanet1.h"
#include "report_fixture.h"
#include <QBuffer>
#include <QImage>

// What the printed invoice and correction carry, read from the report object without a window.

namespace {

struct InvoiceReport : ReportFixture {
    std::shared_ptr<report::Report> build(const DocHeader& h, QString* title = nullptr)
    {
        select(h);
        QString t = h.Inddok + "  " + h.Numer;
        auto r = documentReport(app, "FANET", "rapFANET1", t);
        if (title) *title = t;
        return r;
    }
    QStringList column(const report::Report& r, const QString& table, const QString& col)
    {
        QStringList out;
        const report::Table* t = r.table(table);
        for (int i = 0; t && i < int(t->rows.size()); ++i) out << t->value(i, col);
        return out;
    }
};

}  // namespace

TEST_F(InvoiceReport, InvoiceCarriesItsTextsPositionsAndVatSummary)
{
    QString title;
    auto r = build(faktura, &title);
    ASSERT_TRUE(r);
    EXPECT_EQ(title, QString::fromUtf8("FR  1/05/2024 - Zakład Skupu Zbóż „Kłos” Sp. z o.o."));
    EXPECT_EQ(r->text("nagRap2"), QString::fromUtf8("ul. Żwirki i Wigury 12, 32-650 Kęty"));
    EXPECT_EQ(r->text("nagRap5"), "");
    EXPECT_EQ(r->text("tytDokument").trimmed(), "Faktura VAT RR");
    EXPECT_EQ(r->text("tytDoDokumentu"), "");
    EXPECT_EQ(
        r->text("uwaStopka"),
        QString::fromUtf8("Dziękujemy za współpracę. Bank Spółdzielczy w Kętach 12 3456 0000 0000 1234 5678 9012"));
    EXPECT_EQ(r->text("rapPakiet"), "Wirlan Rolkwit - " + app.webAddress);
    // 33 846,48 gross less the deduction of 32,00 (0,1 % of 31 625,19 in whole złote).
    EXPECT_EQ(r->text("txtSlownie"),
              QString::fromUtf8("Słownie: trzydzieści  trzy  tysiące  osiemset  czternaście 48/100"));
    EXPECT_EQ(
        r->text("txtPotracenie"),
        QString::fromUtf8("Potrącenie 0,1 % wartości netto na Fundusz Promocji Ziarna Zbóż i Przetworów Zbożowych:"));
    EXPECT_FALSE(r->isSuppressed("SectionPotracenie"));
    // Defaults of the template when no option is on.
    for (const char* hidden : {"rapOryginal", "rapKopia", "tytDuplikat", "Section18"})
        EXPECT_TRUE(r->isSuppressed(hidden)) << hidden;
    EXPECT_FALSE(r->isSuppressed("txtWystawil"));
    EXPECT_EQ(r->text("opisOtrzymal"), "Podpis sprzedawcy - osoby uprawnionej do otrzymania faktury");

    EXPECT_EQ(column(*r, kTabelaDokumentu, "Nazwa"), QStringList({QString::fromUtf8("Pszenica konsumpcyjna kl. I"),
                                                                  QString::fromUtf8("Żyto paszowe"), "Rzepak"}));
    EXPECT_EQ(column(*r, kTabelaDokumentu, "Ilosc"), QStringList({"12345,67", "800", "1,005"}));
    EXPECT_EQ(column(*r, kTabelaDokumentu, "Cenanet"), QStringList({"2,50", "0,95", "1,00"}));
    EXPECT_EQ(column(*r, kTabelaDokumentu, "WartBrutto"), QStringList({"33 024,67", "820,80", "1,01"}));
    EXPECT_EQ(column(*r, kTabelaDokumentu, "Grupa"), QStringList({"", "", ""}));
    EXPECT_EQ(r->table(kTabelaDokumentu)->value(0, "DokumentTozsamosci"),
              QString::fromUtf8("Dowód osobisty, seria i numer ABC 123456, wydany 04.03.2019 przez Wójt Gminy Kęty"));
    EXPECT_EQ(column(*r, kTabelaStawek, "Stawka"), QStringList({"zw", "8%", "7%"}));
    EXPECT_EQ(column(*r, kTabelaStawek, "VAT"), QStringList({"0,00", "60,80", "2 160,49"}));
}

TEST_F(InvoiceReport, EveryRateIsSummedAndADocumentWithoutFundHidesTheDeduction)
{
    std::vector<TypedRow> rows;
    for (const char* vat : {"23", "8", "7", "5", "0", "zw", "3"}) rows.push_back({"Towar", "1", "kg", "10", vat});
    rows.push_back({"Towar", "2", "kg", "10", "23"});
    DocHeader h = storeDocument(app, invoiceHeader("5/05/2024"), rows);
    auto r = build(h);
    ASSERT_TRUE(r);
    EXPECT_EQ(column(*r, kTabelaStawek, "Stawka"), QStringList({"zw", "8%", "7%", "5%", "3%", "23%", "0%"}));
    EXPECT_EQ(column(*r, kTabelaStawek, "Brutto"),
              QStringList({"10,00", "10,80", "10,70", "10,50", "10,30", "36,90", "10,00"}));
    EXPECT_TRUE(r->isSuppressed("SectionPotracenie"));
    EXPECT_EQ(r->text("txtPotracenie"), QString::fromUtf8("Potrącenie 0,1 % wartości netto na :"));
}

TEST_F(InvoiceReport, PrintOptionsChangeTheMarkingsIssuerDuplicateAndStatement)
{
    struct Case {
        std::vector<std::pair<const char*, const char*>> options;
        QString egzemplarz;
        bool oryginal, kopia;
        QString kopiaText;
    } cases[] = {
        {{{"DrukOryginal", "1"}}, "", true, true, "KOPIA"},
        {{{"DrukOryKop", "1"}}, "", false, true, QString::fromUtf8("ORYGINAŁ")},
        {{{"DrukOryKop", "1"}}, "KOPIA", false, true, "KOPIA"},
        {{{"DrukOryginal", "1"}, {"DrukOryKop", "1"}}, "", false, true, QString::fromUtf8("ORYGINAŁ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.size() == 2 ? "both" : c.options[0].first);
        for (const char* o : {"DrukOryginal", "DrukOryKop"}) option(o, "0");
        for (auto [name, value] : c.options) option(name, value);
        printState(app).gDrukEgzemplarz = c.egzemplarz;
        auto r = build(faktura);
        ASSERT_TRUE(r);
        EXPECT_EQ(!r->isSuppressed("rapOryginal"), c.oryginal);
        EXPECT_EQ(!r->isSuppressed("rapKopia"), c.kopia);
        EXPECT_EQ(r->text("rapKopia"), c.kopiaText);
        EXPECT_EQ(printState(app).gDrukEgzemplarz,
                  c.options.size() == 1 && c.options[0].first == std::string("DrukOryginal") ? c.egzemplarz : "");
    }

    option("DrukWystaw", "1");
    option("DrukDuplikat", "1");
    option("DrukOswiadczenie", "1");
    auto r = build(faktura);
    EXPECT_TRUE(r->isSuppressed("txtWystawil"));
    EXPECT_FALSE(r->isSuppressed("tytDuplikat"));
    EXPECT_EQ(r->text("tytDuplikat"),
              "DUPLIKAT DOKUMENTU - data wystawienia: " + QDate::currentDate().toString("dd.MM.yyyy"));
    EXPECT_FALSE(r->isSuppressed("Section18"));
    EXPECT_EQ(r->text("opisOtrzymal"),
              QString::fromUtf8("Podpis sprzedawcy - osoby uprawnionej do otrzymania faktury i złożenia oświadczenia"));
}

TEST_F(InvoiceReport, CorrectionShowsBothGroupsAsTypedAndNamesTheCorrectedInvoice)
{
    auto r = build(korekta);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text("tytDokument").trimmed(), "Korekta faktury VAT RR");
    EXPECT_EQ(r->text("tytDoDokumentu"), "do dokumentu: Faktura VAT RR Nr 1/05/2024 z dnia 06.05.2024");
    const QString before = QString::fromUtf8("Było przed korektą"), after = QString::fromUtf8("Winno być po korekcie");
    EXPECT_EQ(column(*r, kTabelaDokumentu, "Grupa"), QStringList({before, before, before, after, after, after}));
    // The corrected rows are stored negated; they print as they were typed.
    EXPECT_EQ(column(*r, kTabelaDokumentu, "Ilosc"),
              QStringList({"12345,67", "800", "1,005", "12000", "800", "1,005"}));
    EXPECT_EQ(column(*r, kTabelaDokumentu, "WartNetto"),
              QStringList({"30 864,18", "760,00", "1,01", "30 000,00", "760,00", "1,21"}));
    // The summary and the amount to pay are the differences.
    EXPECT_EQ(column(*r, kTabelaStawek, "Netto"), QStringList({"0,20", "0,00", "-864,18"}));
    EXPECT_EQ(r->text("txtSlownie"), QString::fromUtf8("Słownie: minus  dziewięćset  dwadzieścia  trzy 47/100"));
}

TEST_F(InvoiceReport, DifferencesOnlyKeepEveryPositionWhoseQuantityPriceOrRateChanged)
{
    DocHeader k = correctionHeader("7/05/2024", "1/05/2024");
    storeDocument(app, k,
                  {{"Bez zmian", "10", "kg", "2", "7"},
                   {"Stawka", "10", "kg", "2", "8"},
                   {"Cena i ilosc", "20", "kg", "1", "7"},
                   {"Ilosc", "11", "kg", "2", "7"},
                   {"Cena", "10", "kg", "3", "7"}},
                  {{"Bez zmian", "10", "kg", "2", "7"},
                   {"Stawka", "10", "kg", "2", "7"},
                   {"Cena i ilosc", "10", "kg", "2", "7"},
                   {"Ilosc", "10", "kg", "2", "7"},
                   {"Cena", "10", "kg", "2", "7"}});
    option("DrukRoznice", "1");
    auto r = build(k);
    ASSERT_TRUE(r);
    EXPECT_EQ(column(*r, kTabelaDokumentu, "Pozycja"), QStringList({"2", "3", "4", "5", "2", "3", "4", "5"}));
    // An invoice is always listed whole.
    r = build(faktura);
    EXPECT_EQ(column(*r, kTabelaDokumentu, "Pozycja"), QStringList({"1", "2", "3"}));
    option("DrukRoznice", "0");
    r = build(k);
    EXPECT_EQ(r->table(kTabelaDokumentu)->rows.size(), 10u);
}

TEST_F(InvoiceReport, BuyersStatementFillsEverySlotOnce)
{
    const QString s = buyerStatement("Skup xxx", "Jan fff, zam. Wola yyy", dec("0,5"), "Fundusz bbb", dec("0,4"),
                                     "1/05/2024", QDate(2024, 5, 6));
    EXPECT_TRUE(s.startsWith("Nabywca: Skup xxx oświadcza")) << s.toStdString();
    EXPECT_TRUE(s.contains(
        "Sprzedawcy-Rolnika ryczałtowego: Jan fff, zam. Wola yyy kwoty 0,50 PLN tytułem wpłaty na Fundusz bbb,"));
    EXPECT_TRUE(s.contains("należnej od kwoty 0,40, stanowiącej"));
    EXPECT_TRUE(s.endsWith("nabytych na podstawie faktury VAT RR nr 1/05/2024 z dnia 06.05.2024")) << s.toStdString();
    option("DrukOswiadczenie", "1");
    auto r = build(faktura);
    EXPECT_TRUE(r->text("txtOswNabywcy").contains(QString::fromUtf8("zam. Łęki 15, 32-651 Łęki kwoty 32,00 PLN")));
}

TEST_F(InvoiceReport, LogoIsShownWhenStoredAndTheHeaderMovesLeftWithout)
{
    auto r = build(faktura);
    EXPECT_TRUE(r->isSuppressed("picLogo"));
    EXPECT_NEAR(r->element("nagRap3")->rect.left(), 2.117, 0.01);
    QImage logo(60, 40, QImage::Format_RGB32);
    logo.fill(Qt::darkGreen);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    logo.save(&buf, "PNG");
    t.db().execute("INSERT INTO dbbin (Indpar, Wartosc) VALUES ('Logo', ?)", {png});
    r = build(faktura);
    EXPECT_FALSE(r->isSuppressed("picLogo"));
    EXPECT_EQ(r->element("picLogo")->image.size(), QSize(60, 40));
    EXPECT_GT(r->element("nagRap3")->rect.left(), 30);
}

TEST_F(InvoiceReport, MissingQueryTemplateOrDataStopsWithItsMessage)
{
    struct Case {
        const char* szablon;
        QString numer;
        QString message;
    } cases[] = {
        {"rapInny", "1/05/2024", QString::fromUtf8("Nieokreślona komenda SQL raportu dla szablonu: rapInny")},
        {"rapFANET2", "1/05/2024",
         QString::fromUtf8("Szablon raportu nie został załadowany. Operacja wydruku zostanie przerwana.")},
        {"rapFANET1", "", QString::fromUtf8("Brak danych  - nie można utworzyć raportu.")},
        {"rapFANET1", "9/09/2099", QString::fromUtf8("Brak danych  - nie można utworzyć raportu.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szablon);
        printState(app).gRepPar = {"FR  " + c.numer, c.numer};
        QString title;
        EXPECT_FALSE(documentReport(app, "FANET", c.szablon, title));
        EXPECT_EQ(answers.last(), c.message);
    }
}

TEST_F(InvoiceReport, PdfCarriesTheDocumentsTextsWithPolishLetters)
{
    option("DrukOswiadczenie", "1");
    auto r = build(korekta);
    const QString path = t.dir.filePath("korekta.pdf");
    ASSERT_TRUE(report::exportPdf(*r, path));
    const QString text = pdfText(path).simplified();
    if (text.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    for (const char* expected :
         {"Korekta faktury VAT RR", "nr 2/05/2024", "do dokumentu: Faktura VAT RR Nr 1/05/2024 z dnia 06.05.2024",
          "Zakład Skupu Zbóż „Kłos” Sp. z o.o.", "Józef Żółkiewski", "Łęki 15, 32-651 Łęki",
          "NIP lub PESEL: 84010112345", "Było przed korektą", "Winno być po korekcie", "Pszenica konsumpcyjna kl. I",
          "Zestawienie według stawek VAT", "Do zapłaty:", "-923,47 zł",
          "Słownie: minus dziewięćset dwadzieścia trzy 47/100", "Forma płatności: przelew",
          "Oświadczam, że jestem rolnikiem ryczałtowym zwolnionym od podatku od towarów i usług na podstawie art. 43 "
          "ust. 1 pkt 3 "
          "ustawy o podatku od towarów i usług.",
          "Podpis sprzedawcy - osoby uprawnionej do otrzymania faktury i złożenia oświadczenia", "Strona 1 z 1"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
}

TEST(ReportLayout, LongTablesBreakOntoPagesWithTheirHeaderRepeated)
{
    report::Report r;
    report::Section head;
    head.kind = report::Section::Kind::PageHeader;
    head.height = 20;
    head.elements.push_back({report::Element::Kind::Text, "naglowek", "Nagłówek", {}, {}, QRectF(0, 0, 100, 5)});
    r.addSection(head);
    report::Section th;
    th.kind = report::Section::Kind::TableHeader;
    th.table = "t";
    th.height = 8;
    r.addSection(th);
    report::Section row;
    row.kind = report::Section::Kind::Detail;
    row.table = "t";
    row.height = 5;
    report::Element cell{report::Element::Kind::Field, "", "", "a", "", QRectF(0, 0, 30, 5)};
    cell.style.stretch = true;
    row.elements.push_back(cell);
    r.addSection(row);
    report::Table t{{"a"}, {}};
    for (int i = 0; i < 100; ++i)
        t.rows.push_back({i == 5 ? QString("długi tekst ").repeated(20) : QString::number(i)});
    r.setTable("t", t);
    QImage device(100, 100, QImage::Format_RGB32);
    device.setDotsPerMeterX(300 / 0.0254);
    device.setDotsPerMeterY(300 / 0.0254);
    report::Layout l(r, device);
    ASSERT_GE(l.pageCount(), 2);
    const double bottom = (297 - 20) * 300 / 25.4;
    int rows = 0;
    double tall = 0;
    for (int p = 0; p < l.pageCount(); ++p) {
        const auto& items = l.page(p);
        ASSERT_GE(items.size(), 2u);
        EXPECT_EQ(items[0].section->kind, report::Section::Kind::PageHeader);
        EXPECT_EQ(items[1].section->kind, report::Section::Kind::TableHeader) << "page " << p;
        for (const auto& it : items) {
            EXPECT_LE(it.y + it.height, bottom + 1);
            if (it.section->kind != report::Section::Kind::Detail) continue;
            ++rows;
            if (it.row == 5) tall = it.height;
        }
    }
    EXPECT_EQ(rows, 100);
    EXPECT_GT(tall, 2 * 5 * 300 / 25.4);  // the long text wrapped and its row grew
}

TEST(ReportLayout, TextReducedToFitKeepsTheBaselineOfItsNeighbours)
{
    report::Report r;
    report::Section band;
    band.kind = report::Section::Kind::Band;
    band.height = 6;
    // Digits only: their lowest ink is the baseline.
    for (const auto& [text, x] : {std::pair("1", 0.0), std::pair("250000000000", 20.0)}) {
        report::Element e{report::Element::Kind::Text, "", text, {}, {}, QRectF(x, 0, 10, 5)};
        e.style.oneLine = true;
        band.elements.push_back(e);
    }
    r.addSection(band);
    QImage page(600, 120, QImage::Format_RGB32);
    page.setDotsPerMeterX(300 / 0.0254);
    page.setDotsPerMeterY(300 / 0.0254);
    page.fill(Qt::white);
    report::Layout l(r, page);
    {
        QPainter p(&page);
        l.paintPage(p, 0);
    }
    auto lowestInk = [&](int from, int to) {
        int lowest = -1;
        for (int y = 0; y < page.height(); ++y)
            for (int x = from; x < to; ++x)
                if (qGray(page.pixel(x, y)) < 128) lowest = y;
        return lowest;
    };
    const int full = lowestInk(0, 236), reduced = lowestInk(236, 354);
    ASSERT_GT(full, 0);
    EXPECT_NEAR(reduced, full, 2);
}
