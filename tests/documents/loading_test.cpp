#include "documents/loading.h"
#include "documents/document_list.h"
#include "documents/save.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include <functional>
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
    bufferNewDocument(app, false);
    auto d = WczytajDokument(app, kTrybPopraw, "1/05/2024", DocHeader());
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
    auto d = WczytajDokument(app, kTrybPopraw, "1/05/2024", DocHeader());
    ASSERT_TRUE(d);
    EXPECT_EQ(storedIdentityOf(db, "1/05/2024"), d->storedIdentity);
    EXPECT_NE(storedIdentityOf(db, "1/04/2024"), d->storedIdentity);
    db.execute("UPDATE fadok SET Zaplacono = 10");
    EXPECT_EQ(storedIdentityOf(db, "1/05/2024"), d->storedIdentity);
    for (const char* change :
         {"UPDATE fadok SET Uwagi = 'x' WHERE Numer = '1/05/2024'",
          "UPDATE fapoz SET Ilosc = Ilosc + 1 WHERE Numer = '1/05/2024' AND Korekta = 1",
          "UPDATE fapoz SET Pozycja = 9 WHERE Numer = '1/05/2024' AND Nazwa = 'Owies' AND Korekta = 0"}) {
        SCOPED_TRACE(change);
        db::Transaction tr(db);
        db.execute(QString::fromUtf8(change));
        EXPECT_NE(storedIdentityOf(db, "1/05/2024"), d->storedIdentity);
    }
    EXPECT_FALSE(storedIdentityOf(db, "9/09/2024"));
}

TEST_F(LoadFixture, CopyOfACorrectionRecomputesItsTotalsForTheNewDocument)
{
    storeCorrection();
    bufferNewDocument(app, false);
    // Copied into an invoice: the rows after the correction, and their own totals.
    auto d = WczytajDokument(app, "nowy", "1/05/2024", DocHeader());
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
    EXPECT_EQ(WczytajDokument(app, "Popraw", "1/05/2024", DocHeader())->header.RazBrutto, Decimal(6206));
}

TEST_F(LoadFixture, PositionsAndCorrectedInvoiceLoadNumberedWithoutGaps)
{
    storeCorrection();
    // Stored by an older version with a gap where an empty line was.
    db.execute("UPDATE fapoz SET Pozycja = 5 WHERE Numer = '1/04/2024' AND Nazwa = 'Owies'");
    ASSERT_TRUE(WczytajPozycje(app, "1/05/2024", false, DocHeader()));
    EXPECT_EQ(names("dopoz"), "Pszenica:70000 Owies:20000");
    EXPECT_EQ(names("dokor"), "");

    auto d = WczytajKorygowany(app, "1/04/2024", correctionHeader("2/05/2024", "1/04/2024"));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->header.KorDatawyst, QDate(2024, 4, 2));  // the correction keeps its own dates
    EXPECT_EQ(d->header.Datawyst, QDate(2024, 5, 6));
    EXPECT_EQ(d->header.RazBrutto, Decimal());  // no difference yet
    EXPECT_EQ(names("dopoz"), "Pszenica:100000 Owies:20000");
    EXPECT_EQ(names("dokor"), names("dopoz"));
    EXPECT_EQ(db.scalar("SELECT group_concat(Pozycja) FROM dopoz").toText(), "1,2");
    EXPECT_EQ(db.scalar("SELECT group_concat(Pozycja) FROM dokor").toText(), "1,2");
}

TEST_F(LoadFixture, FailedOrMissingLoadChangesNothing)
{
    storeCorrection();
    typeRows(app, PositionTable::Dopoz, {{"Kept", "1", "kg", "1", "7"}});
    EXPECT_FALSE(WczytajDokument(app, kTrybPopraw, "9/09/2024", DocHeader()));
    EXPECT_FALSE(WczytajKorygowany(app, "9/09/2024", correctionHeader("2/05/2024", "9/09/2024")));
    EXPECT_EQ(names("dopoz"), "Kept:10000");

    db.execute("ALTER TABLE fapoz RENAME TO fapoz_gone");
    EXPECT_FALSE(WczytajDokument(app, kTrybPopraw, "1/05/2024", DocHeader()));
    EXPECT_FALSE(WczytajPozycje(app, "1/05/2024", true, DocHeader()));
    EXPECT_FALSE(WczytajKorygowany(app, "1/04/2024", correctionHeader("2/05/2024", "1/04/2024")));
    EXPECT_EQ(replies.reported, (QStringList{"WczytajDokument", "WczytajPozycje", "WczytajKorygowany"}));
    EXPECT_EQ(names("dopoz"), "Kept:10000");
}

// Every load replaces the buffers and the buffered header in one transaction: a failure while
// any of them is written leaves all as they were, and a finished load buffers the header it
// gives to be shown with the loaded rows (after a crash the buffer holds one document).
TEST_F(LoadFixture, EveryLoadReplacesRowsAndHeaderTogether)
{
    storeCorrection();
    typeRows(app, PositionTable::Dopoz, {{"Kept", "1", "kg", "1", "7"}});
    typeRows(app, PositionTable::Dokor, {{"Before", "1", "kg", "1", "7"}});
    DocHeader earlier = invoiceHeader("7/05/2024");
    earlier.Nazkon = "Rolnik X";
    ZapiszDoBufora(app, earlier);
    DocHeader correction = correctionHeader("8/05/2024", "1/04/2024");
    correction.Nazkon = "Rolnik X";
    auto buffered = [&] { return db.scalar("SELECT Numer || ' ' || Nazkon || ' ' || Inddok FROM dodok").toText(); };
    auto texts = [](DocHeader h) {
        h.clearBlankFund();
        QStringList t;
        for (const db::Value& v : h.values()) t << v.toText();
        return t.join('|').toStdString();
    };
    const struct {
        const char* load;
        std::function<std::optional<LoadedDocument>()> run;
        const char* header;
        const char* dopoz;
    } loads[] = {
        {"edit", [&] { return WczytajDokument(app, kTrybPopraw, "1/05/2024", earlier); }, "1/05/2024 Jan O'Brien KFR",
         "Pszenica:70000 Owies:20000"},
        {"copy", [&] { return WczytajDokument(app, "nowy", "1/05/2024", earlier); }, "7/05/2024 Jan O'Brien FR",
         "Pszenica:70000 Owies:20000"},
        {"positions", [&] { return WczytajPozycje(app, "1/04/2024", false, earlier); }, "7/05/2024 Rolnik X FR",
         "Pszenica:100000 Owies:20000"},
        {"corrected invoice", [&] { return WczytajKorygowany(app, "1/04/2024", correction); },
         "8/05/2024 Jan O'Brien KFR", "Pszenica:100000 Owies:20000"},
    };
    for (const char* table : {"dopoz", "dodok"}) {
        db.execute(QStringLiteral("CREATE TRIGGER fail BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, 'disk gone'); END")
                       .arg(table));
        for (const auto& l : loads) {
            SCOPED_TRACE(std::string(table) + ", " + l.load);
            EXPECT_FALSE(l.run());
            EXPECT_EQ(names("dopoz"), "Kept:10000");
            EXPECT_EQ(names("dokor"), "Before:10000");
            EXPECT_EQ(buffered(), "7/05/2024 Rolnik X FR");
            EXPECT_FALSE(db.inTransaction());
        }
        db.execute("DROP TRIGGER fail");
    }
    for (const auto& l : loads) {
        SCOPED_TRACE(l.load);
        ZapiszDoBufora(app, earlier);
        const auto d = l.run();
        ASSERT_TRUE(d);
        EXPECT_EQ(buffered(), l.header);
        EXPECT_EQ(names("dopoz"), l.dopoz);
        // What is buffered is what the form is given to show.
        EXPECT_EQ(texts(*DocHeader::buffered(db, 0)), texts(d->header));
    }
}

// An archive database (the read-only lock) is never written: every load only gives its rows to
// be shown, and a new document seeds nothing.
TEST_F(LoadFixture, OnAnArchiveNothingIsWritten)
{
    storeCorrection();
    typeRows(app, PositionTable::Dopoz, {{"Kept", "1", "kg", "1", "7"}});
    DocHeader buffered = invoiceHeader("7/05/2024");
    ZapiszDoBufora(app, buffered);
    app.gBazaPar.BazaOdczyt = true;
    auto before = [&] {
        return names("dopoz") + "|" + names("dokor") + "|" + db.scalar("SELECT Numer FROM dodok").toText();
    };
    const QString kept = before();

    auto d = WczytajDokument(app, kTrybPopraw, "1/05/2024", DocHeader());
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->rows.buffered);
    ASSERT_EQ(d->rows.dopoz.size(), 2u);
    EXPECT_EQ(d->rows.dopoz[0].Ilosc, Decimal(7));
    EXPECT_EQ(d->rows.dokor[0].Ilosc, Decimal(10));
    auto rows = WczytajPozycje(app, "1/04/2024", false, DocHeader());
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->rows.dopoz.size(), 2u);
    auto k = WczytajKorygowany(app, "1/04/2024", correctionHeader("2/05/2024", "1/04/2024"));
    ASSERT_TRUE(k);
    EXPECT_EQ(k->rows.dokor.size(), 2u);
    EXPECT_FALSE(bufferNewDocument(app, true));
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
