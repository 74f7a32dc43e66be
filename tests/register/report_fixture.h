#pragma once
#include "core/base_par.h"
#include "core/registry.h"
#include "documents/doc_header.h"
#include "documents/position_math.h"
#include "register/print_state.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include "support/test_settings.h"
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

// Stored documents for the report's tests, written straight into fadok and fapoz as a save
// writes them: named positions numbered from 1, a correction's corrected rows negated.
inline DocHeader storeDocument(App& app, DocHeader h, const std::vector<TypedRow>& poz, const std::vector<TypedRow>& kor = {})
{
    db::Database& db = *app.gBaseDb;
    Sums after, before;
    auto insert = [&](const std::vector<TypedRow>& rows, bool korekta, Sums& sums) {
        qint64 n = 0;
        for (const TypedRow& r : rows) {
            const OptDecimal ilosc = Decimal::parse(r.ilosc), cena = Decimal::parse(r.cena);
            const RowValues v = WartosciVat(WartoscNetto(ilosc, cena), r.vat);
            sums.netto += v.WartNetto.value_or(Decimal());
            sums.vat += v.WartVAT.value_or(Decimal());
            sums.brutto += v.WartBrutto.value_or(Decimal());
            const int s = korekta ? -1 : 1;
            auto neg = [&](const OptDecimal& d) { return d ? OptDecimal(*d * Decimal(s)) : d; };
            db.execute("INSERT INTO fapoz (Stanowisko, Inddok, Numer, Pozycja, Korekta, Nazwa, Ilosc, Indjed, Cenanet, Indvat, "
                       "WartNetto, WartVAT, WartBrutto) VALUES (0, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       {h.Inddok, h.Numer, ++n, korekta, r.nazwa, neg(ilosc), r.jed, cena, r.vat, neg(v.WartNetto),
                        neg(v.WartVAT), neg(v.WartBrutto)});
        }
    };
    insert(poz, false, after);
    insert(kor, true, before);
    Totals t = PozycjeSumuj(after, h.isCorrection() ? &before : nullptr, !h.Fundusz.isEmpty());
    h.RazNetto = t.RazNetto;
    h.RazVAT = t.RazVAT;
    h.RazBrutto = t.RazBrutto;
    h.Potracenie = t.Potracenie;
    h.DoZaplaty = t.DoZaplaty;
    QStringList marks;
    for (int i = 0; i < DocHeader::columns().size(); ++i) marks << "?";
    db.execute(QStringLiteral("INSERT INTO fadok (%1) VALUES (%2)").arg(DocHeader::columns().join(','), marks.join(',')), h.values());
    return h;
}

// A database with the buyer's header lines, an invoice of three positions at three rates with a
// fund deduction, and its correction.
struct ReportFixture : ::testing::Test {
    TempDatabase t;
    Answers answers;
    App& app = t.app;
    DocHeader faktura, korekta;

    void SetUp() override
    {
        UseTestSettings(app, t.dir.path());
        BaseParSave(app, t.db(), "DokNaglowek1", QString::fromUtf8("Zakład Skupu Zbóż „Kłos” Sp. z o.o."));
        BaseParSave(app, t.db(), "DokNaglowek2", QString::fromUtf8("ul. Żwirki i Wigury 12, 32-650 Kęty"));
        BaseParSave(app, t.db(), "DokNaglowek3", "NIP 549-123-45-67");
        BaseParSave(app, t.db(), "DokStopka", QString::fromUtf8("Dziękujemy za współpracę. Bank Spółdzielczy w Kętach 12 3456 0000 0000 1234 5678 9012"));
        DocHeader h = invoiceHeader("1/05/2024");
        h.Nazkon = QString::fromUtf8("Józef Żółkiewski");
        h.Adrkon = QString::fromUtf8("Łęki 15, 32-651 Łęki");
        h.Nipkon = "84010112345";
        h.Nazdok = QString::fromUtf8("Dowód osobisty");
        h.Numdok = "ABC 123456";
        h.Datadok = QDate(2019, 3, 4);
        h.Wyddok = QString::fromUtf8("Wójt Gminy Kęty");
        h.PlatTer = "20.05.2024";
        h.PlatRach = "12 1020 3040 5060 7080 9000 1111";
        h.Uwagi = QString::fromUtf8("Towar przyjęty na magazyn nr 2.");
        h.Fundusz = QString::fromUtf8("Fundusz Promocji Ziarna Zbóż i Przetworów Zbożowych");
        faktura = storeDocument(app, h,
                                {{QString::fromUtf8("Pszenica konsumpcyjna kl. I"), "12345,67", "kg", "2,50", "7"},
                                 {QString::fromUtf8("Żyto paszowe"), "800", "kg", "0,95", "8"},
                                 {"Rzepak", "1,005", "t", "1", "zw"}});
        DocHeader k = h;
        k.Inddok = "KFR";
        k.Numer = "2/05/2024";
        k.Datawyst = QDate(2024, 5, 8);
        k.KorInddok = "FR";
        k.KorNumer = "1/05/2024";
        k.KorDatawyst = QDate(2024, 5, 6);
        korekta = storeDocument(app, k,
                                {{QString::fromUtf8("Pszenica konsumpcyjna kl. I"), "12000", "kg", "2,50", "7"},
                                 {QString::fromUtf8("Żyto paszowe"), "800", "kg", "0,95", "8"},
                                 {"Rzepak", "1,005", "t", "1,20", "zw"}},
                                {{QString::fromUtf8("Pszenica konsumpcyjna kl. I"), "12345,67", "kg", "2,50", "7"},
                                 {QString::fromUtf8("Żyto paszowe"), "800", "kg", "0,95", "8"},
                                 {"Rzepak", "1,005", "t", "1", "zw"}});
    }

    void option(const char* name, const char* value)
    {
        RegSave(app.gRegProgramKey, name, value);
        RegParSave(app, name, value);
    }
    // The print values of a document as the document list gives them.
    void select(const DocHeader& h)
    {
        printState(app).gRepPar = {h.Inddok + "  " + h.Numer, h.Numer};
    }
};

// The text of a PDF file as pdftotext reads it (layout kept); empty when the tool is missing.
inline QString pdfText(const QString& path)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) return QString();
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
