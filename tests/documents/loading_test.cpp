#include "documents/loading.h"
#include "documents/document_list.h"
#include "documents/save.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include <gtest/gtest.h>

namespace {

struct LoadFixture : ::testing::Test {
    TempDatabase t;
    App& app = t.app;
    db::Database& db = t.db();
    Replies replies{app};

    void store(DocHeader h, const std::vector<TypedRow>& poz, const std::vector<TypedRow>& kor = {})
    {
        bufferDocument(app, h, poz, kor);
        SaveResult r = ZapiszDokument(app, {}, replies.ask());
        ASSERT_TRUE(r.ok) << (r.fault ? r.fault->message.toStdString() : "");
    }
    // A stored invoice 1/04/2024 and its stored correction 1/05/2024 (10 kg became 7 kg).
    void storeCorrection()
    {
        DocHeader f = invoiceHeader("1/04/2024", QDate(2024, 4, 2));
        f.Fundusz = QString::fromUtf8("Fundusz Promocji Ziarna");
        store(f, {{"Pszenica", "10", "kg", "800,00", "7"}, {"Owies", "2", "t", "100", "7"}});
        DocHeader k = correctionHeader("1/05/2024", "1/04/2024", QDate(2024, 4, 2));
        k.Fundusz = f.Fundusz;
        store(k, {{"Pszenica", "7", "kg", "800,00", "7"}, {"Owies", "2", "t", "100", "7"}},
              {{"Pszenica", "10", "kg", "800,00", "7"}, {"Owies", "2", "t", "100", "7"}});
    }
    QString names(const char* table)
    {
        return db
            .scalar(QStringLiteral("SELECT group_concat(Nazwa || ':' || Ilosc, ' ') FROM (SELECT * FROM %1 "
                                   "WHERE Stanowisko = 0 ORDER BY Pozycja)")
                        .arg(table))
            .toText();
    }
};

}  // namespace

TEST_F(LoadFixture, EditLoadKeepsStoredTotalsAndShowsBothSidesPositive)
{
    storeCorrection();
    NowyDokumentBufor(app, false);
    auto d = WczytajDokument(app, kTrybPopraw, "1/05/2024", "FR");
    ASSERT_TRUE(d);
    const DocHeader& h = d->header;
    EXPECT_EQ(h.Inddok, "KFR");
    EXPECT_EQ(h.RazBrutto, Decimal(-2568));  // -2400 net, -168 VAT
    EXPECT_EQ(h.Fundusz, QString::fromUtf8("Fundusz Promocji Ziarna"));
    EXPECT_EQ(names("dopoz"), "Pszenica:70000 Owies:20000");
    EXPECT_EQ(names("dokor"), "Pszenica:100000 Owies:20000");
    EXPECT_TRUE(d->rows.buffered);
    ASSERT_EQ(d->rows.dokor.size(), 2u);
    EXPECT_EQ(d->rows.dokor[0].Ilosc, Decimal(10));
}

TEST_F(LoadFixture, TheIdentityTakenAtLoadFollowsTheStoredDocumentNotItsPaidMark)
{
    storeCorrection();
    auto d = WczytajDokument(app, kTrybPopraw, "1/05/2024", "FR");
    ASSERT_TRUE(d);
    EXPECT_EQ(TozsamoscDokumentu(db, "1/05/2024"), d->tozsamosc);
    EXPECT_NE(TozsamoscDokumentu(db, "1/04/2024"), d->tozsamosc);
    db.execute("UPDATE fadok SET Zaplacono = 10");
    EXPECT_EQ(TozsamoscDokumentu(db, "1/05/2024"), d->tozsamosc);
    for (const char* change :
         {"UPDATE fadok SET Uwagi = 'x' WHERE Numer = '1/05/2024'",
          "UPDATE fapoz SET Ilosc = Ilosc + 1 WHERE Numer = '1/05/2024' AND Korekta = 1",
          "UPDATE fapoz SET Pozycja = 9 WHERE Numer = '1/05/2024' AND Nazwa = 'Owies' AND Korekta = 0"}) {
        SCOPED_TRACE(change);
        db::Transaction tr(db);
        db.execute(QString::fromUtf8(change));
        EXPECT_NE(TozsamoscDokumentu(db, "1/05/2024"), d->tozsamosc);
    }
    EXPECT_FALSE(TozsamoscDokumentu(db, "9/09/2024"));
}

TEST_F(LoadFixture, CopyOfACorrectionRecomputesItsTotalsForTheNewDocument)
{
    storeCorrection();
    NowyDokumentBufor(app, false);
    // Copied into an invoice: the rows after the correction, and their own totals.
    auto d = WczytajDokument(app, "nowy", "1/05/2024", "FR");
    ASSERT_TRUE(d);
    const DocHeader& h = d->header;
    EXPECT_EQ(h.RazNetto, Decimal(5800));
    EXPECT_EQ(h.RazBrutto, Decimal(6206));
    EXPECT_EQ(h.Potracenie, Decimal(6));  // 0,1 % of 5800 with the stored fund
    EXPECT_EQ(h.DoZaplaty, Decimal(6200));
    // ... which the save accepts as they are.
    DocHeader copy = invoiceHeader("2/05/2024");
    copy.RazNetto = h.RazNetto;
    copy.RazVAT = h.RazVAT;
    copy.RazBrutto = h.RazBrutto;
    ZapiszDoBufora(app, copy);
    SaveResult r = ZapiszDokument(app, {}, replies.ask());
    EXPECT_TRUE(r.ok) << (r.fault ? r.fault->message.toStdString() : "");
    // "Popraw" in another letter case is a copy too.
    EXPECT_EQ(WczytajDokument(app, "Popraw", "1/05/2024", "FR")->header.RazBrutto, Decimal(6206));
}

TEST_F(LoadFixture, PositionsAndCorrectedInvoiceLoadNumberedWithoutGaps)
{
    storeCorrection();
    // Stored by an older version with a gap where an empty line was.
    db.execute("UPDATE fapoz SET Pozycja = 5 WHERE Numer = '1/04/2024' AND Nazwa = 'Owies'");
    ASSERT_TRUE(WczytajPozycje(app, "1/05/2024", false));
    EXPECT_EQ(names("dopoz"), "Pszenica:70000 Owies:20000");
    EXPECT_EQ(names("dokor"), "");

    auto d = WczytajKorygowany(app, "1/04/2024");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->header.Datawyst, QDate(2024, 4, 2));
    EXPECT_EQ(names("dopoz"), "Pszenica:100000 Owies:20000");
    EXPECT_EQ(names("dokor"), names("dopoz"));
    EXPECT_EQ(db.scalar("SELECT group_concat(Pozycja) FROM dopoz").toText(), "1,2");
    EXPECT_EQ(db.scalar("SELECT group_concat(Pozycja) FROM dokor").toText(), "1,2");
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
    EXPECT_EQ(replies.reported, (QStringList{"WczytajDokument", "WczytajPozycje", "WczytajKorygowany"}));
    EXPECT_EQ(names("dopoz"), "Kept:10000");
}

// The buffers are replaced in one transaction, the header too when a document is loaded for
// editing: a failure while one of them is written leaves the others as they were, and a
// finished load leaves no older header with the loaded rows (a crash keeps one document).
TEST_F(LoadFixture, AFailureHalfwayThroughTheBuffersChangesNone)
{
    storeCorrection();
    typeRows(app, PozTabela::Dopoz, {{"Kept", "1", "kg", "1", "7"}});
    typeRows(app, PozTabela::Dokor, {{"Before", "1", "kg", "1", "7"}});
    DocHeader earlier = invoiceHeader("7/05/2024");
    earlier.Nazkon = "Rolnik X";
    ZapiszDoBufora(app, earlier);
    auto buffered = [&] { return db.scalar("SELECT Numer || ' ' || Nazkon || ' ' || Inddok FROM dodok").toText(); };
    for (const char* table : {"dokor", "dodok"}) {
        SCOPED_TRACE(table);
        db.execute(QStringLiteral("CREATE TRIGGER fail BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, 'disk gone'); END")
                       .arg(table));
        EXPECT_FALSE(WczytajDokument(app, kTrybPopraw, "1/05/2024", "FR"));
        if (QLatin1String(table) == "dokor") EXPECT_FALSE(WczytajKorygowany(app, "1/04/2024"));
        EXPECT_EQ(names("dopoz"), "Kept:10000");
        EXPECT_EQ(names("dokor"), "Before:10000");
        EXPECT_EQ(buffered(), "7/05/2024 Rolnik X FR");
        EXPECT_FALSE(db.inTransaction());
        db.execute("DROP TRIGGER fail");
    }
    ASSERT_TRUE(WczytajDokument(app, kTrybPopraw, "1/05/2024", "FR"));
    EXPECT_EQ(buffered(), "1/05/2024 Jan O'Brien KFR");
    EXPECT_EQ(names("dopoz"), "Pszenica:70000 Owies:20000");
}

// An archive database (the read-only lock) is never written: every load only gives its rows to
// be shown, and a new document seeds nothing.
TEST_F(LoadFixture, OnAnArchiveNothingIsWritten)
{
    storeCorrection();
    typeRows(app, PozTabela::Dopoz, {{"Kept", "1", "kg", "1", "7"}});
    DocHeader buffered = invoiceHeader("7/05/2024");
    ZapiszDoBufora(app, buffered);
    app.gBazaPar.BazaOdczyt = true;
    auto before = [&] {
        return names("dopoz") + "|" + names("dokor") + "|" + db.scalar("SELECT Numer FROM dodok").toText();
    };
    const QString kept = before();

    auto d = WczytajDokument(app, kTrybPopraw, "1/05/2024", "FR");
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->rows.buffered);
    ASSERT_EQ(d->rows.dopoz.size(), 2u);
    EXPECT_EQ(d->rows.dopoz[0].Ilosc, Decimal(7));
    EXPECT_EQ(d->rows.dokor[0].Ilosc, Decimal(10));
    auto rows = WczytajPozycje(app, "1/04/2024", false);
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->dopoz.size(), 2u);
    auto k = WczytajKorygowany(app, "1/04/2024");
    ASSERT_TRUE(k);
    EXPECT_EQ(k->rows.dokor.size(), 2u);
    EXPECT_FALSE(NowyDokumentBufor(app, true));
    WyczyscPozycje(app);
    EXPECT_FALSE(ZapiszDoBufora(app, invoiceHeader("8/05/2024")));
    EXPECT_EQ(before(), kept);
}

TEST_F(LoadFixture, ListIsNewestPeriodFirstByRunningNumber)
{
    DocumentListModel list(app);
    list.refill();
    EXPECT_EQ(list.rowCount(), 1) << "only the new document's row";
    store(invoiceHeader("9/01/2024", QDate(2024, 1, 9)), {{"A", "1", "kg", "5", "7"}});
    store(invoiceHeader("10/01/2024", QDate(2024, 1, 3)), {{"A", "1", "kg", "5", "7"}});
    store(invoiceHeader("3/12/2023", QDate(2023, 12, 30)), {{"A", "1", "kg", "5", "7"}});
    store(invoiceHeader("1/02/2024", QDate(2024, 2, 1)), {{"A", "1", "kg", "5", "7"}});
    list.refill();
    list.fetchAll();
    QStringList order;
    for (int r = 1; r < list.rowCount(); ++r) order << list.text(r);
    EXPECT_EQ(order.join('|'), "FR  1/02/2024|FR  10/01/2024|FR  9/01/2024|FR  3/12/2023");
    EXPECT_EQ(list.index(1, DocumentListModel::RazBrutto).data().toString(), "5,35");
    EXPECT_EQ(list.index(1, DocumentListModel::Nazkon).data().toString(), "Jan O'Brien");
}
