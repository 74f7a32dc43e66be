#include "editor/position_model.h"
#include "documents/buffer.h"
#include "support/model_protocol.h"
#include "support/scoped_responder.h"
#include "support/temp_database.h"
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct ModelFixture : ::testing::Test {
    TempDatabase t;
    ScopedResponder responder;
    std::unique_ptr<PositionModel> model;
    std::unique_ptr<ModelProtocol> protocol;

    void SetUp() override
    {
        responder.answer = [](const ui::Message&) { return ui::Answer::Ok; };
        t.app.gPrgPar.TabPozLicz = 4;
        bufferNewDocument(t.app, false);
        model = std::make_unique<PositionModel>(t.app, PositionTable::Dopoz);
        // Every test checks that the model announces each change as a model must.
        protocol = std::make_unique<ModelProtocol>(model.get());
        model->reload();
    }
    void TearDown() override
    {
        const std::string faults = protocol->faults();
        protocol.reset();
        EXPECT_TRUE(faults.empty()) << faults;
    }
    // The rows as the model holds them, and as the buffer holds them.
    QStringList held()
    {
        QStringList l;
        for (int r = 0; r < model->rowCount(); ++r)
            l << QString::number(model->position(r).id) + ":" + shown(r, PositionModel::Pozycja) + ":" +
                     model->position(r).Nazwa;
        return l;
    }
    QStringList inBuffer()
    {
        QStringList l;
        for (const db::Row& r :
             t.db().query("SELECT rowid, Pozycja, Nazwa FROM dopoz WHERE Stanowisko = 0 ORDER BY Pozycja, rowid"))
            l << r.text("rowid") + ":" + r.text("Pozycja") + ":" + r.text("Nazwa");
        return l;
    }

    bool type(int row, int col, const QString& text) { return model->setData(model->index(row, col), text); }
    QString shown(int row, int col) { return model->data(model->index(row, col)).toString(); }
    db::Row stored(int pozycja)
    {
        return *t.db().queryOne("SELECT * FROM dopoz WHERE Stanowisko = 0 AND Pozycja = ?", {pozycja});
    }
    QString numbers()
    {
        return t.db().scalar("SELECT group_concat(Pozycja) FROM (SELECT Pozycja FROM dopoz ORDER BY Pozycja)").toText();
    }
};

Decimal d(const char* t)
{
    return *Decimal::parse(QString::fromUtf8(t));
}

}  // namespace

TEST_F(ModelFixture, TypedRowIsComputedAndWrittenThrough)
{
    QSignalSpy totals(model.get(), &PositionModel::valuesChanged);
    ASSERT_TRUE(type(0, PositionModel::Nazwa, QString::fromUtf8("Pszenica konsumpcyjna")));
    ASSERT_TRUE(type(0, PositionModel::Ilosc, "2,5"));
    ASSERT_TRUE(type(0, PositionModel::Cenanet, "10,00"));
    EXPECT_EQ(stored(1).decimal("WartNetto"), d("25"));
    ASSERT_TRUE(type(0, PositionModel::Indvat, "23"));
    auto r = stored(1);
    EXPECT_EQ(r.text("Nazwa"), QString::fromUtf8("Pszenica konsumpcyjna"));
    EXPECT_EQ(r.decimal("Ilosc"), d("2,5"));
    EXPECT_EQ(r.decimal("WartVAT"), d("5,75"));
    EXPECT_EQ(r.decimal("WartBrutto"), d("30,75"));
    EXPECT_EQ(shown(0, PositionModel::WartBrutto), "30,75");
    EXPECT_EQ(shown(0, PositionModel::Ilosc), "2,5");
    EXPECT_EQ(totals.count(), 3);

    ASSERT_TRUE(type(1, PositionModel::Ilosc, "12345,67"));
    ASSERT_TRUE(type(1, PositionModel::Cenanet, "2,50"));
    ASSERT_TRUE(type(1, PositionModel::Indvat, "7,5"));
    EXPECT_EQ(stored(2).decimal("WartNetto"), d("30864,18"));
    EXPECT_EQ(stored(2).decimal("WartVAT"), d("2314,81"));
    EXPECT_EQ(shown(1, PositionModel::WartNetto), "30 864,18");

    ASSERT_TRUE(type(2, PositionModel::Cenanet, "1,005"));  // no quantity yet: nothing computed
    EXPECT_TRUE(stored(3).isNull("WartNetto"));
    ASSERT_TRUE(type(2, PositionModel::Ilosc, "1"));
    ASSERT_TRUE(type(2, PositionModel::Indvat, "zw"));
    EXPECT_EQ(stored(3).decimal("WartNetto"), d("1,01"));
    EXPECT_EQ(stored(3).decimal("WartVAT"), d("0"));
    EXPECT_EQ(stored(3).decimal("WartBrutto"), d("1,01"));
    EXPECT_EQ(model->sums().brutto, d("30,75") + d("30864,18") + d("2314,81") + d("1,01"));
}

TEST_F(ModelFixture, EmptyCellsTakeDefaultsAndBadNumbersAreRefused)
{
    ASSERT_TRUE(type(0, PositionModel::Cenanet, "4"));
    ASSERT_TRUE(type(0, PositionModel::Ilosc, ""));
    EXPECT_EQ(stored(1).decimal("Ilosc"), d("1"));
    EXPECT_EQ(stored(1).decimal("WartNetto"), d("4"));
    ASSERT_TRUE(type(0, PositionModel::Indvat, ""));
    EXPECT_EQ(stored(1).text("Indvat"), "0");
    ASSERT_TRUE(type(0, PositionModel::Cenanet, " "));
    EXPECT_EQ(stored(1).decimal("WartBrutto"), d("0"));

    EXPECT_FALSE(type(0, PositionModel::Ilosc, "dwa"));
    ASSERT_EQ(responder.seen.size(), 1u);
    EXPECT_TRUE(responder.seen[0].text.startsWith(QString::fromUtf8("Błedna wartość pola.")));
    EXPECT_EQ(stored(1).decimal("Ilosc"), d("1"));

    ASSERT_TRUE(type(0, PositionModel::Nazwa, QString(300, 'x')));
    EXPECT_EQ(stored(1).text("Nazwa").size(), 255);
    EXPECT_EQ(responder.seen.size(), 2u);
    ASSERT_TRUE(type(0, PositionModel::Indjed, "kilogramyy123"));
    ASSERT_TRUE(type(0, PositionModel::Indvat, "23 procent"));
    EXPECT_EQ(stored(1).text("Indjed"), "kilogramyy");
    EXPECT_EQ(stored(1).text("Indvat"), "23 pr");
    EXPECT_FALSE(type(0, PositionModel::WartNetto, "5"));  // computed columns are not typed
}

TEST_F(ModelFixture, RowsAreInsertedAppendedDeletedAndRenumbered)
{
    type(1, PositionModel::Nazwa, "drugi");
    EXPECT_EQ(model->PozycjaWstaw(1), 1);
    EXPECT_EQ(numbers(), "1,2,3,4,5");
    EXPECT_EQ(model->rowCount(), 5);
    EXPECT_TRUE(model->position(1).Nazwa.isEmpty());
    EXPECT_EQ(model->position(2).Nazwa, "drugi");
    EXPECT_EQ(stored(3).text("Nazwa"), "drugi");

    EXPECT_EQ(model->PozycjaDodaj(), 5);
    EXPECT_EQ(model->position(5).Pozycja, 6);

    type(3, PositionModel::Ilosc, "1");
    type(3, PositionModel::Cenanet, "7");
    QSignalSpy totals(model.get(), &PositionModel::valuesChanged);
    EXPECT_GE(model->PozycjaUsun(3), 0);  // a middle row
    EXPECT_EQ(numbers(), "1,2,3,4,5");
    EXPECT_EQ(totals.count(), 1);
    EXPECT_EQ(model->sums().netto, d("0"));

    while (model->rowCount() > 1) model->PozycjaUsun(0);
    EXPECT_EQ(model->PozycjaUsun(0), -1);
    EXPECT_EQ(model->rowCount(), 1);
    EXPECT_EQ(responder.seen.back().text.left(40), QString::fromUtf8("Wymagane jest pozostawienie w tablicy pr"));
    EXPECT_EQ(numbers(), "1");

    t.db().execute("UPDATE dopoz SET Pozycja = 9");
    model->reload();
    EXPECT_TRUE(model->PozycjeNumeruj());
    EXPECT_EQ(numbers(), "1");
}

TEST_F(ModelFixture, RowCommandsMoveOnlyTheRowsTheyChangeAndMatchTheBuffer)
{
    for (int r = 0; r < 4; ++r) type(r, PositionModel::Nazwa, QString("w%1").arg(r + 1));
    QSignalSpy resets(model.get(), &QAbstractItemModel::modelReset);
    QSignalSpy inserted(model.get(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(model.get(), &QAbstractItemModel::rowsRemoved);
    struct Step {
        const char* what;
        std::function<int()> run;
        int row, inserts, removals;
    } steps[] = {
        {"insert before the second row", [&] { return model->PozycjaWstaw(1); }, 1, 1, 0},
        {"insert before the first row", [&] { return model->PozycjaWstaw(0); }, 0, 1, 0},
        {"append", [&] { return model->PozycjaDodaj(); }, 6, 1, 0},
        {"delete a middle row", [&] { return model->PozycjaUsun(3); }, 5, 0, 1},
        {"delete the first row", [&] { return model->PozycjaUsun(0); }, 4, 0, 1},
        {"delete the last row", [&] { return model->PozycjaUsun(4); }, 3, 0, 1},
        {"renumber", [&] { return model->PozycjeNumeruj() ? 0 : -1; }, 0, 0, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        inserted.clear();
        removed.clear();
        EXPECT_EQ(s.run(), s.row);
        EXPECT_EQ(inserted.count(), s.inserts);
        EXPECT_EQ(removed.count(), s.removals);
        EXPECT_EQ(held(), inBuffer());
    }
    EXPECT_EQ(resets.count(), 0) << "no row command reads every row again";
    EXPECT_EQ(numbers(), "1,2,3,4");
}

TEST_F(ModelFixture, ReadOnlyLockRefusesEveryChange)
{
    t.app.gBazaPar.BazaOdczyt = true;
    EXPECT_FALSE(model->flags(model->index(0, PositionModel::Ilosc)) & Qt::ItemIsEditable);
    EXPECT_FALSE(type(0, PositionModel::Ilosc, "3"));
    EXPECT_EQ(model->PozycjaDodaj(), -1);
    EXPECT_EQ(model->PozycjaWstaw(0), -1);
    EXPECT_EQ(model->PozycjaUsun(0), -1);
    EXPECT_FALSE(model->PozycjeNumeruj());
    EXPECT_EQ(numbers(), "1,2,3,4");
    EXPECT_TRUE(stored(1).isNull("Ilosc"));
    EXPECT_TRUE(responder.seen.empty());
}

TEST_F(ModelFixture, CorrectionLocksNamesAndUnits)
{
    model->setNameLocked(true);
    EXPECT_FALSE(model->flags(model->index(0, PositionModel::Nazwa)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(model->index(0, PositionModel::Indjed)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->flags(model->index(0, PositionModel::Ilosc)) & Qt::ItemIsEditable);
    EXPECT_FALSE(type(0, PositionModel::Nazwa, "x"));
}

TEST_F(ModelFixture, DatabaseFailuresAreReportedAndTheModelCarriesOn)
{
    t.db().execute("CREATE TRIGGER refuse BEFORE INSERT ON dopoz BEGIN SELECT RAISE(ABORT, 'zablokowane'); END");
    EXPECT_EQ(model->PozycjaDodaj(), -1);
    EXPECT_EQ(model->PozycjaWstaw(1), -1);
    EXPECT_EQ(model->rowCount(), 4);
    EXPECT_EQ(numbers(), "1,2,3,4");  // the insert's renumbering rolled back
    t.db().execute("CREATE TRIGGER refuse2 BEFORE UPDATE ON dopoz BEGIN SELECT RAISE(ABORT, 'zablokowane'); END");
    EXPECT_FALSE(type(0, PositionModel::Ilosc, "2"));
    EXPECT_FALSE(model->position(0).Ilosc);
}

TEST_F(ModelFixture, WorkstationsKeepTheirOwnRows)
{
    t.app.gStanowisko = 3;
    bufferNewDocument(t.app, false);
    model->reload();
    type(0, PositionModel::Nazwa, "trzeci");
    t.app.gStanowisko = 0;
    model->reload();
    EXPECT_EQ(model->rowCount(), 4);
    EXPECT_TRUE(model->position(0).Nazwa.isEmpty());
}
