#include "documents/document_list.h"
#include "documents/loading.h"
#include "documents/save.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include <gtest/gtest.h>

namespace {

struct LoadFixture : ::testing::Test {
    TempDatabase t;
    Answers answers;
    App& app = t.app;
    db::Database& db = t.db();

    void store(DocHeader h, const std::vector<TypedRow>& poz, const std::vector<TypedRow>& kor = {})
    {
        bufferDocument(app, h, poz, kor);
        ASSERT_TRUE(ZapiszDokument(app, {}).ok) << answers.last().toStdString();
    }
    // A stored invoice 1/04/2024 and its stored correction 1/05/2024 (10 kg became 7 kg).
    void storeCorrection()
    {
        DocHeader f = invoiceHeader("1/04/2024", QDate(2024, 4, 2));
        f.Fundusz = QString::fromUtf8("Fundusz Promocji Ziarna");
        store(f, {{"Pszenica", "10", "kg", "800,00", "7"}, {"Owies", "2", "t", "100", "7"}});
        DocHeader k = invoiceHeader("1/05/2024");
        k.Inddok = "KFR";
        k.KorInddok = "FR";
        k.KorNumer = "1/04/2024";
        k.KorDatawyst = QDate(2024, 4, 2);
        k.Fundusz = f.Fundusz;
        store(k, {{"Pszenica", "7", "kg", "800,00", "7"}, {"Owies", "2", "t", "100", "7"}},
              {{"Pszenica", "10", "kg", "800,00", "7"}, {"Owies", "2", "t", "100", "7"}});
    }
    QString names(const char* table)
    {
        return db.scalar(QStringLiteral("SELECT group_concat(Nazwa || ':' || Ilosc, ' ') FROM (SELECT * FROM %1 "
                                        "WHERE Stanowisko = 0 ORDER BY Pozycja)").arg(table)).toText();
    }
};

} // namespace

TEST_F(LoadFixture, EditLoadKeepsStoredTotalsAndShowsBothSidesPositive)
{
    storeCorrection();
    NowyDokumentBufor(app, false);
    auto h = WczytajDokument(app, kTrybPopraw, "1/05/2024", "FR");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->Inddok, "KFR");
    EXPECT_EQ(h->RazBrutto, Decimal(-2568));  // -2400 net, -168 VAT
    EXPECT_EQ(h->Fundusz, QString::fromUtf8("Fundusz Promocji Ziarna"));
    EXPECT_EQ(names("dopoz"), "Pszenica:70000 Owies:20000");
    EXPECT_EQ(names("dokor"), "Pszenica:100000 Owies:20000");
}

TEST_F(LoadFixture, CopyOfACorrectionRecomputesItsTotalsForTheNewDocument)
{
    storeCorrection();
    NowyDokumentBufor(app, false);
    // Copied into an invoice: the rows after the correction, and their own totals.
    auto h = WczytajDokument(app, "nowy", "1/05/2024", "FR");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->RazNetto, Decimal(5800));
    EXPECT_EQ(h->RazBrutto, Decimal(6206));
    EXPECT_EQ(h->Potracenie, Decimal(6));   // 0,1 % of 5800 with the stored fund
    EXPECT_EQ(h->DoZaplaty, Decimal(6200));
    // ... which the save accepts as they are.
    DocHeader copy = invoiceHeader("2/05/2024");
    copy.RazNetto = h->RazNetto;
    copy.RazVAT = h->RazVAT;
    copy.RazBrutto = h->RazBrutto;
    ZapiszDoBufora(app, copy);
    EXPECT_TRUE(ZapiszDokument(app, {}).ok) << answers.last().toStdString();
    // "Popraw" in another letter case is a copy too.
    EXPECT_EQ(WczytajDokument(app, "Popraw", "1/05/2024", "FR")->RazBrutto, Decimal(6206));
}

TEST_F(LoadFixture, PositionsAndCorrectedInvoiceLoads)
{
    storeCorrection();
    db.execute("UPDATE fapoz SET Pozycja = 5 WHERE Numer = '1/04/2024' AND Nazwa = 'Owies'");
    ASSERT_TRUE(WczytajPozycje(app, "1/05/2024", false));
    EXPECT_EQ(names("dopoz"), "Pszenica:70000 Owies:20000");
    EXPECT_EQ(names("dokor"), "");

    auto h = WczytajKorygowany(app, "1/04/2024");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->Datawyst, QDate(2024, 4, 2));
    EXPECT_EQ(names("dopoz"), "Pszenica:100000 Owies:20000");
    EXPECT_EQ(names("dokor"), names("dopoz"));
    EXPECT_EQ(db.scalar("SELECT group_concat(Pozycja) FROM dopoz").toText(), "1,5");  // gaps kept
}

TEST_F(LoadFixture, FailedOrMissingLoadChangesNothing)
{
    storeCorrection();
    typeRows(app, PozTabela::Dopoz, {{"Kept", "1", "kg", "1", "7"}});
    EXPECT_FALSE(WczytajDokument(app, kTrybPopraw, "9/09/2024", "FR"));
    EXPECT_FALSE(WczytajKorygowany(app, "9/09/2024"));
    EXPECT_EQ(names("dopoz"), "Kept:10000");

    db.execute("ALTER TABLE fapoz RENAME TO fapoz_gone");
    EXPECT_FALSE(WczytajDokument(app, kTrybPopraw, "1/05/2024", "FR"));
    EXPECT_FALSE(WczytajPozycje(app, "1/05/2024", true));
    EXPECT_FALSE(WczytajKorygowany(app, "1/04/2024"));
    EXPECT_EQ(answers.dialogs, 3);  // each failure reported
    EXPECT_EQ(names("dopoz"), "Kept:10000");
}

TEST_F(LoadFixture, ListIsNewestPeriodFirstByRunningNumber)
{
    EXPECT_TRUE(ListaDokumentow(app).empty());
    store(invoiceHeader("9/01/2024", QDate(2024, 1, 9)), {{"A", "1", "kg", "5", "7"}});
    store(invoiceHeader("10/01/2024", QDate(2024, 1, 3)), {{"A", "1", "kg", "5", "7"}});
    store(invoiceHeader("3/12/2023", QDate(2023, 12, 30)), {{"A", "1", "kg", "5", "7"}});
    store(invoiceHeader("1/02/2024", QDate(2024, 2, 1)), {{"A", "1", "kg", "5", "7"}});
    auto rows = ListaDokumentow(app);
    QStringList order;
    for (const auto& r : rows) order << r.text();
    EXPECT_EQ(order.join('|'), "FR  1/02/2024|FR  10/01/2024|FR  9/01/2024|FR  3/12/2023");
    EXPECT_EQ(rows[0].RazBrutto, dec("5,35"));
    EXPECT_EQ(rows[0].Nazkon, "Jan O'Brien");
}
