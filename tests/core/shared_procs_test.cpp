#include "core/shared_procs.h"
#include "platform/combo_rows.h"
#include "support/temp_database.h"
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

TEST(SharedProcs, NumRoundHalvesAwayFromZeroOnTheExactValue)
{
    auto d = [](const char* s) { return *Decimal::parse(s); };
    EXPECT_EQ(NumRound(d("2.345"), 2), d("2.35"));
    EXPECT_EQ(NumRound(d("1.005"), 2), d("1.01"));
    EXPECT_EQ(NumRound(d("-2.345"), 2), d("-2.35"));
    EXPECT_EQ(NumRound(d("0.125"), 2), d("0.13"));
    EXPECT_EQ(NumRound(d("2.5"), 0), d("3"));
    EXPECT_EQ(NumRound(Decimal(10), 2), Decimal(10));
    EXPECT_EQ(NumRound(OptDecimal(), 2), std::nullopt);
    EXPECT_EQ(NumRound(OptDecimal(d("0.0049")), 2), d("0"));
}

TEST(SharedProcs, PathSplitAtTheLastSeparatorOfEitherKind)
{
    QString folder = "x", file;
    PathSplit("Firma.mdb", folder, file);
    EXPECT_EQ(folder, "");
    EXPECT_EQ(file, "Firma.mdb");
    PathSplit("C:\\Dane\\Firma.mdb", folder, file);
    EXPECT_EQ(folder, "C:\\Dane");
    EXPECT_EQ(file, "Firma.mdb");
    PathSplit("/home/k/dane/Firma.mdb", folder, file);
    EXPECT_EQ(folder, "/home/k/dane");
}

TEST(SharedProcs, RstToTextAndEmptyToNull)
{
    TempDatabase t;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    t.db().execute("INSERT INTO fapoz (Numer, Korekta, Ilosc, Pozycja) VALUES ('1', ?, ?, 3)",
                   {true, *Decimal::parse("12.5")});
    t.db().execute("INSERT INTO fadok (Numer, Datawyst) VALUES ('1', ?)", {QDate(2024, 3, 8)});
    auto p = *t.db().queryOne("SELECT * FROM fapoz");
    EXPECT_EQ(RstToText(p, "Korekta"), "1");
    EXPECT_EQ(RstToText(p, "Ilosc"), "12,5");
    EXPECT_EQ(RstToText(p, "Pozycja"), "3");
    EXPECT_EQ(RstToText(p, "Nazwa"), "");
    auto h = *t.db().queryOne("SELECT * FROM fadok");
    EXPECT_EQ(RstToText(h, "Datawyst"), QLocale().toString(QDate(2024, 3, 8), QLocale::ShortFormat));
    EXPECT_EQ(RstToText(h, "Datadok"), "");
    EXPECT_THROW(RstToText(h, "Brak"), AppError);
    QLocale::setDefault(QLocale::c());

    EXPECT_TRUE(EmptyToNull(QString()).isNull());
    EXPECT_EQ(EmptyToNull(QString("a")).toText(), "a");
    EXPECT_TRUE(EmptyToNull(db::Value()).isNull());
    EXPECT_EQ(EmptyToNull(db::Value(5)).toInt(), 5);
}

TEST(SharedProcs, LogoReadWritesExactlyTheStoredBytesAndNothingOfAnEarlierLogo)
{
    TempDatabase t;
    QString file;
    EXPECT_FALSE(LogoRead(t.app, t.db(), file));
    QByteArray big(20000, '\0');
    for (int i = 0; i < big.size(); ++i) big[i] = char(i * 7);
    t.db().execute("INSERT INTO dbbin (Indpar, Wartosc) VALUES ('Logo', ?)", {big});
    ASSERT_TRUE(LogoRead(t.app, t.db(), file));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), big);
    f.close();

    t.db().execute("UPDATE dbbin SET Wartosc = ? WHERE Indpar = 'Logo'", {QByteArray("small")});
    ASSERT_TRUE(LogoRead(t.app, t.db(), file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("small"));
    f.close();

    t.db().execute("UPDATE dbbin SET Wartosc = NULL WHERE Indpar = 'Logo'");
    EXPECT_FALSE(LogoRead(t.app, t.db(), file));
}

TEST(ComboRows, KeyAndTextFromTheQuery)
{
    TempDatabase t;
    for (auto n : {"2/03/2024", "10/03/2024", "1/03/2024"})
        t.db().execute("INSERT INTO fadok (Numer, Datawyst) VALUES (?, '2024-03-05')", {QString(n)});
    t.db().execute("INSERT INTO fadok (Numer, Datawyst) VALUES ('1/02/2024', '2024-02-05')");
    auto rows = comboRowsFromSql(
        t.db(), "SELECT Numer, 'Nr ' || Numer FROM fadok WHERE Month(Datawyst) = 3 ORDER BY Val(Numer)");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], std::make_pair(QString("1/03/2024"), QString("Nr 1/03/2024")));
    EXPECT_EQ(rows[2].first, "10/03/2024");
    auto months =
        comboRowsFromSql(t.db(), "SELECT Format(datawyst,'yyyyMM'), Format(datawyst,'MM.yyyy') FROM fadok "
                                 "GROUP BY Format(datawyst,'yyyyMM'), Format(datawyst,'MM.yyyy') ORDER BY 1 DESC");
    ASSERT_EQ(months.size(), 2u);
    EXPECT_EQ(months[0], std::make_pair(QString("202403"), QString("03.2024")));
    auto one = comboRowsFromSql(t.db(), "SELECT DISTINCT Inddok FROM fadok");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].first, one[0].second);
    EXPECT_THROW(comboRowsFromSql(t.db(), "SELECT * FROM brak"), AppError);
}
