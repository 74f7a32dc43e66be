#include "documents/buffer.h"
#include "documents/positions.h"
#include "platform/app_error.h"
#include "support/temp_database.h"
#include <gtest/gtest.h>
#include <map>
#include <set>

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

// A record whose every field holds a value no other field holds, and the value that the column of
// each member's own name must then hold.
template <class R>
struct Distinct {
    R r;
    std::map<QString, db::Value> byColumn;
};
#define SET(d, member, value) (d.r.member = value, d.byColumn[QStringLiteral(#member)] = db::Value(d.r.member))

Distinct<DocHeader> distinctHeader()
{
    Distinct<DocHeader> d;
    int day = 0;
    auto date = [&] { return QDate(2024, 5, ++day); };
    SET(d, Stanowisko, 3), SET(d, Inddok, "KFR"), SET(d, Numer, "3/05/2024"), SET(d, Datawyst, date());
    SET(d, Datasprz, date()), SET(d, KorInddok, "FR"), SET(d, KorNumer, "1/04/2024"), SET(d, KorDatawyst, date());
    SET(d, Podstawa, "art. 116"), SET(d, Wydane, "wydane"), SET(d, Nazkon, "Jan O'Brien"), SET(d, Adrkon, "Wieś 1");
    SET(d, Nipkon, "5260001246"), SET(d, Nazdok, "dowód"), SET(d, Numdok, "ABC123"), SET(d, Wyddok, "Wójt");
    SET(d, Datadok, date()), SET(d, RazNetto, Decimal(-11)), SET(d, RazVAT, Decimal(12)),
        SET(d, RazBrutto, Decimal(13));
    SET(d, Potracenie, Decimal(14)), SET(d, DoZaplaty, Decimal(15)), SET(d, PlatFor, "przelew"), SET(d, PlatDni, 16);
    SET(d, PlatTer, "termin"), SET(d, PlatRach, "rachunek"), SET(d, Wystawil, "Anna"), SET(d, Uwagi, "uwagi");
    SET(d, Fundusz, "Fundusz Promocji Mleka"), SET(d, Zaplacono, Decimal(17));
    return d;
}

Distinct<Position> distinctPosition()
{
    Distinct<Position> d;
    SET(d, Pozycja, 21), SET(d, Nazwa, "Pszenica"), SET(d, Ilosc, Decimal(22)), SET(d, Indjed, "kg");
    SET(d, Cenanet, Decimal(23)), SET(d, Indvat, "7"), SET(d, WartNetto, Decimal(24)), SET(d, WartVAT, Decimal(25));
    SET(d, WartBrutto, Decimal(26));
    return d;
}

Distinct<PositionKey> distinctKey()
{
    Distinct<PositionKey> d;
    SET(d, Stanowisko, 4), SET(d, Inddok, "KFR"), SET(d, Numer, "4/05/2024"), SET(d, Korekta, true);
    return d;
}

#undef SET

// Every field was set to a value of its own.
template <class R>
void expectEveryFieldDistinct(const Distinct<R>& d, const QStringList& columns)
{
    std::set<db::Value::Data> values;
    for (const auto& [column, value] : d.byColumn) values.insert(value.data());
    EXPECT_EQ(values.size(), d.byColumn.size());
    EXPECT_EQ(d.byColumn.size(), size_t(columns.size()));
}

// Each column of `row` named in `d` holds the value of the member of its name.
template <class R>
void expectOwnColumns(const std::optional<db::Row>& row, const Distinct<R>& d, const char* table)
{
    SCOPED_TRACE(table);
    ASSERT_TRUE(row);
    for (const auto& [column, value] : d.byColumn) {
        SCOPED_TRACE(column.toStdString());
        EXPECT_TRUE((*row)[column].data() == value.data()) << (*row)[column].toText().toStdString();
    }
}

}  // namespace

TEST(Buffer, EveryHeaderFieldKeepsItsColumnThroughDodokAndFadok)
{
    TempDatabase t;
    const Distinct<DocHeader> d = distinctHeader();
    expectEveryFieldDistinct(d, DocHeader::columns());
    t.db().execute(DocHeader::insertStatement("dodok"), d.r.values());
    expectOwnColumns(t.db().queryOne("SELECT * FROM dodok"), d, "dodok");
    const auto buffered = DocHeader::buffered(t.db(), d.r.Stanowisko);
    ASSERT_TRUE(buffered);
    t.db().execute(DocHeader::insertStatement("fadok"), buffered->values());
    expectOwnColumns(t.db().queryOne("SELECT * FROM fadok"), d, "fadok");
    EXPECT_TRUE(DocHeader::stored(t.db(), d.r.Numer) == d.r);
}

TEST(Buffer, EveryPositionFieldKeepsItsColumnInEveryPositionTable)
{
    TempDatabase t;
    t.app.gStanowisko = 4;
    Distinct<Position> d = distinctPosition();
    const Distinct<PositionKey> key = distinctKey();
    expectEveryFieldDistinct(d, Position::columns());
    expectEveryFieldDistinct(key, PositionKey::columns());
    for (PositionTable table : {PositionTable::Dopoz, PositionTable::Dokor}) {
        SCOPED_TRACE(tableName(table).toStdString());
        PositionBuffer b(t.app, table);
        d.r.id = b.insert(d.r);
        expectOwnColumns(t.db().queryOne("SELECT * FROM " + tableName(table)), d, "buffer");
        const auto rows = b.read();
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_TRUE(rows[0] == d.r);
    }
    t.db().execute(positionInsert("fapoz"), positionValues(key.r, d.r));
    const auto row = t.db().queryOne("SELECT rowid AS id, * FROM fapoz");
    expectOwnColumns(row, d, "fapoz");
    expectOwnColumns(row, key, "fapoz");
    d.r.id = row->integer("id");
    EXPECT_TRUE(Position::fromRow(*row) == d.r);
}

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
