#include "documents/buffer.h"
#include "documents/positions.h"
#include "platform/app_error.h"
#include "support/temp_database.h"
#include <gtest/gtest.h>

namespace {

DocHeader sample()
{
    DocHeader h;
    h.Inddok = "KFR";
    h.Numer = "3/05/2024";
    h.Datawyst = QDate(2024, 5, 6);
    h.Datasprz = QDate(2024, 5, 5);
    h.KorInddok = "FR";
    h.KorNumer = "1/04/2024";
    h.KorDatawyst = QDate(2024, 4, 2);
    h.Nazkon = "Jan O'Brien";
    h.PlatDni = 14;
    h.RazNetto = Decimal::parse("-12,5");
    h.Potracenie = Decimal(0);
    h.Fundusz = "Fundusz Promocji Mleka";
    return h;
}

}  // namespace

TEST(Buffer, HeaderRoundTripsPerWorkstation)
{
    TempDatabase t;
    ASSERT_TRUE(ZapiszDoBufora(t.app, sample()));
    t.app.gStanowisko = 2;
    DocHeader other;
    other.Numer = "9";
    ASSERT_TRUE(ZapiszDoBufora(t.app, other));
    ASSERT_TRUE(ZapiszDoBufora(t.app, other));  // replaced, not added
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dodok").toInt(), 2);

    t.app.gStanowisko = 0;
    auto h = OdczytZBufora(t.app);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->Inddok, "KFR");
    EXPECT_EQ(h->KorNumer, "1/04/2024");
    EXPECT_EQ(h->KorDatawyst, QDate(2024, 4, 2));
    EXPECT_EQ(h->Nazkon, "Jan O'Brien");
    EXPECT_EQ(h->PlatDni, 14);
    EXPECT_EQ(h->RazNetto, Decimal::parse("-12,5"));
    EXPECT_EQ(h->Fundusz, "Fundusz Promocji Mleka");
    EXPECT_TRUE(t.db().scalar("SELECT Podstawa FROM dodok WHERE Stanowisko = 0").isNull());

    t.app.gStanowisko = 2;
    h = OdczytZBufora(t.app);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->Numer, "9");
    EXPECT_TRUE(h->Fundusz.isEmpty());  // stored as one space: no fund
    EXPECT_EQ(t.db().scalar("SELECT Fundusz FROM dodok WHERE Stanowisko = 2").toText(), " ");
    t.app.gStanowisko = 5;
    EXPECT_FALSE(OdczytZBufora(t.app));
}

TEST(Buffer, InvoiceWritesNoCorrectionColumns)
{
    TempDatabase t;
    DocHeader h = sample();
    h.Inddok = "FR";
    ASSERT_TRUE(ZapiszDoBufora(t.app, h));
    auto row = t.db().queryOne("SELECT * FROM dodok");
    EXPECT_TRUE(row->isNull("KorInddok"));
    EXPECT_TRUE(row->isNull("KorNumer"));
    EXPECT_TRUE(row->isNull("KorDatawyst"));
}

TEST(Buffer, AFailedRewriteKeepsThePreviousHeader)
{
    TempDatabase t;
    ASSERT_TRUE(ZapiszDoBufora(t.app, sample()));
    t.db().execute("CREATE TRIGGER refuse BEFORE INSERT ON dodok BEGIN SELECT RAISE(ABORT, 'dysk pełny'); END");
    DocHeader h;
    h.Numer = "nowy";
    EXPECT_FALSE(ZapiszDoBufora(t.app, h));
    auto kept = OdczytZBufora(t.app);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->Numer, "3/05/2024");
    EXPECT_FALSE(t.db().inTransaction());
}

TEST(Buffer, NewDocumentSeedsEmptyRowsAndTheBufferIsEmptyUntilARowHasAName)
{
    TempDatabase t;
    t.app.gPrgPar.TabPozLicz = 4;
    t.app.gStanowisko = 1;
    t.db().execute("INSERT INTO dopoz (Stanowisko, Pozycja, Nazwa) VALUES (2, 1, 'obcy')");
    t.db().execute("INSERT INTO dopoz (Stanowisko, Pozycja, Nazwa) VALUES (1, 1, 'poprzedni')");
    t.app.gStanowisko = 2;
    ZapiszDoBufora(t.app, sample());
    t.app.gStanowisko = 1;
    ZapiszDoBufora(t.app, sample());
    // The previous document's header goes with its rows, or stays with them when the change fails.
    for (const char* refusal : {"BEFORE DELETE ON dodok", "BEFORE INSERT ON dopoz"}) {
        SCOPED_TRACE(refusal);
        t.db().execute(QStringLiteral("CREATE TRIGGER refuse %1 BEGIN SELECT RAISE(ABORT, 'dysk pełny'); END")
                           .arg(QString::fromLatin1(refusal)));
        EXPECT_THROW(bufferNewDocument(t.app, false), AppError);
        t.db().execute("DROP TRIGGER refuse");
        EXPECT_FALSE(BuforPusty(t.app));
        EXPECT_TRUE(OdczytZBufora(t.app));
    }
    bufferNewDocument(t.app, false);
    EXPECT_FALSE(OdczytZBufora(t.app));
    EXPECT_EQ(t.db().scalar("SELECT group_concat(Stanowisko) FROM dodok").toText(), "2");
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dopoz WHERE Stanowisko = 1").toInt(), 4);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dokor").toInt(), 0);
    EXPECT_TRUE(BuforPusty(t.app));
    t.db().execute("UPDATE dopoz SET Nazwa = '' WHERE Stanowisko = 1 AND Pozycja = 2");
    EXPECT_TRUE(BuforPusty(t.app));
    t.db().execute("UPDATE dopoz SET Nazwa = 'Żyto' WHERE Stanowisko = 1 AND Pozycja = 3");
    EXPECT_FALSE(BuforPusty(t.app));

    bufferNewDocument(t.app, true);
    EXPECT_EQ(t.db().scalar("SELECT group_concat(Pozycja) FROM dokor WHERE Stanowisko = 1").toText(), "1,2,3,4");
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dopoz WHERE Stanowisko = 1").toInt(), 4);
    EXPECT_TRUE(BuforPusty(t.app));
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dopoz WHERE Stanowisko = 2").toInt(), 1);

    t.app.gPrgPar.TabPozLicz = 0;
    bufferNewDocument(t.app, true);
    EXPECT_EQ(PositionBuffer(t.app, PositionTable::Dopoz).count(), 0);
    WyczyscPozycje(t.app);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dopoz").toInt(), 1);
}

TEST(Buffer, WithoutADatabaseNothingIsBufferedAndNothingIsEmpty)
{
    TempDatabase t;
    EXPECT_TRUE(BazaPusta(t.app));
    t.db().execute("INSERT INTO fadok (Numer) VALUES ('1')");
    EXPECT_FALSE(BazaPusta(t.app));
    t.app.gBazaOtwarta = false;
    EXPECT_FALSE(BazaPusta(t.app));
    EXPECT_FALSE(BuforPusty(t.app));
    EXPECT_FALSE(ZapiszDoBufora(t.app, sample()));
    EXPECT_FALSE(OdczytZBufora(t.app));
}

TEST(Buffer, PositionRowsInsertAndRenumber)
{
    TempDatabase t;
    t.app.gPrgPar.TabPozLicz = 4;
    bufferNewDocument(t.app, false);
    PositionBuffer b(t.app, PositionTable::Dopoz);
    auto rows = b.read();
    std::vector<qint64> order;
    for (auto& r : rows) order.push_back(r.id);
    qint64 id = b.insertAt(order, 1);
    rows = b.read();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1].id, id);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(rows[size_t(i)].Pozycja, i + 1);
    b.remove(rows[2].id);
    b.renumber(b.read());
    rows = b.read();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(rows[size_t(i)].Pozycja, i + 1);
    b.update(rows[0].id, "WartNetto", Decimal(5));
    b.update(rows[1].id, "WartNetto", *Decimal::parse("0,25"));
    EXPECT_EQ(b.sums().netto, *Decimal::parse("5,25"));
    EXPECT_THROW(b.update(rows[0].id, "Stanowisko = 3, Nazwa", "x"), AppError);
}
