#include "documents/numbering.h"
#include "core/base_par.h"
#include "platform/app_error.h"
#include "support/temp_database.h"
#include <gtest/gtest.h>

namespace {

void stored(TempDatabase& t, const QString& numer, const QDate& date, const QString& kind = "FR")
{
    t.db().execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst) VALUES (0, ?, ?, ?)", {kind, numer, date});
}

}  // namespace

TEST(Numbering, ParametersAreReadWithTheirDefaults)
{
    TempDatabase t;
    t.app.gBazaPar = {};
    BaseParSave(t.app, t.db(), "NumAuto", "0");
    BaseParSave(t.app, t.db(), "NumEdycja", "1.0");
    NumParRead(t.app);
    EXPECT_EQ(t.app.gBazaPar.NumSzablon, QString::fromUtf8("Numer/Miesiąc/Rok[4]"));
    EXPECT_TRUE(t.app.gBazaPar.NumMiesieczna);
    EXPECT_FALSE(t.app.gBazaPar.NumAuto);
    EXPECT_TRUE(t.app.gBazaPar.NumEdycja);
    EXPECT_EQ(BaseParRead(t.app, t.db(), "NumMiesieczna", "x"), "1");
}

TEST(Numbering, MonthlySeriesFollowsTheHighestRunningNumberOfTheMonth)
{
    TempDatabase t;
    NumParRead(t.app);
    QDate may(2024, 5, 20);
    EXPECT_EQ(NumerNastepny(t.app, "fadok", "datawyst", may), "1/05/2024");
    stored(t, "7/05/2024", QDate(2024, 5, 3));
    stored(t, "10/04/2024", QDate(2024, 4, 30));
    stored(t, "1/06/2024", QDate(2024, 6, 1));
    EXPECT_EQ(NumerNastepny(t.app, "fadok", "datawyst", may), "8/05/2024");
    stored(t, "9/05/2024", QDate(2024, 5, 31), "KFR");  // corrections share the series
    stored(t, "10/05/2024", QDate(2024, 5, 4));         // compared as numbers, not texts
    auto last = NumerOstatni(t.app, "fadok", "datawyst", may);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->number, 10);
    EXPECT_EQ(last->date, QDate(2024, 5, 4));
    EXPECT_EQ(last->text, "10/05/2024");
    EXPECT_EQ(NumerNastepny(t.app, "fadok", "datawyst", may), "11/05/2024");
    auto none = NumerOstatni(t.app, "fadok", "datawyst", QDate(2023, 5, 1));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->number, 0);
    EXPECT_TRUE(none->text.isEmpty());
}

TEST(Numbering, YearlySeriesRunsAcrossMonths)
{
    TempDatabase t;
    BaseParSave(t.app, t.db(), "NumMiesieczna", "0");
    BaseParSave(t.app, t.db(), "NumSzablon", "Numer/Rok[2]/A");
    NumParRead(t.app);
    stored(t, "4/24/A", QDate(2024, 2, 1));
    stored(t, "X-9", QDate(2024, 3, 1));  // no leading digits: counts as 0
    stored(t, "30/23/A", QDate(2023, 12, 31));
    EXPECT_EQ(NumerNastepny(t.app, "fadok", "datawyst", QDate(2024, 11, 5)), "5/24/A");
    EXPECT_EQ(NumerNastepny(t.app, "fadok", "datawyst", QDate(2023, 1, 5)), "31/23/A");
}

// A number the program proposes or takes never names a stored document: with a template that
// does not tell the periods apart, or after a number typed by hand, it moves on to a free one.
TEST(Numbering, TheNextNumberIsAFreeOne)
{
    TempDatabase t;
    NumParRead(t.app);
    t.app.gBazaPar.NumSzablon = "Numer";
    stored(t, "1", QDate(2024, 4, 2));
    stored(t, "2", QDate(2024, 4, 3));
    EXPECT_EQ(NumerNastepny(t.app, "fadok", "datawyst", QDate(2024, 5, 6)), "3");
    EXPECT_EQ(numberForSave(t.app, QDate(2024, 5, 6)), "3");
    t.app.gBazaPar.NumSzablon = QString::fromUtf8("Numer/Miesiąc/Rok[4]");
    stored(t, "2/05/2024", QDate(2024, 4, 30));  // typed by hand into April
    stored(t, "1/05/2024", QDate(2024, 5, 2));
    EXPECT_EQ(numberForSave(t.app, QDate(2024, 5, 6)), "3/05/2024");
    t.app.gBazaPar.NumAuto = false;
    EXPECT_EQ(numberForSave(t.app, QDate(2024, 5, 6)), "");
}

TEST(Numbering, AFailedProposalIsNoNumber)
{
    TempDatabase t;
    NumParRead(t.app);
    EXPECT_FALSE(NumerNastepny(t.app, "fadok", "datawyst", QDate()));
    EXPECT_FALSE(NumerNastepny(t.app, "fadok; DROP TABLE fadok", "datawyst", QDate(2024, 1, 1)));
    QStringList reported;
    t.app.errorReporter = [&](App&, const QString& where, const QString&) { reported << where; };
    t.db().execute("DROP TABLE fadok");
    EXPECT_FALSE(NumerOstatni(t.app, "fadok", "datawyst", QDate(2024, 1, 1)));
    EXPECT_FALSE(NumerNastepny(t.app, "fadok", "datawyst", QDate(2024, 1, 1)));
    EXPECT_EQ(reported.size(), 2);
    // For the save, which reports once its transaction is over, the failure is thrown instead.
    EXPECT_THROW(numberForSave(t.app, QDate(2024, 1, 1)), AppError);
    EXPECT_EQ(reported.size(), 2);
    t.app.gBazaPar.NumAuto = false;
    EXPECT_EQ(NumerNastepny(t.app, "fadok", "datawyst", QDate(2024, 1, 1)), "");
}

// A template without a running number gives one number a period: once it is stored, the search
// for a free one ends at once, the proposal with the reason, the save's number with NoFreeNumber.
TEST(Numbering, ATemplateWithoutARunningNumberEndsTheSearch)
{
    TempDatabase t;
    NumParRead(t.app);
    QStringList reported;
    t.app.errorReporter = [&](App&, const QString& where, const QString&) { reported << where; };
    t.app.gBazaPar.NumSzablon = "FV/Rok[4]";
    stored(t, "FV/2024", QDate(2024, 3, 1));
    QString brak;
    EXPECT_FALSE(NumerNastepny(t.app, "fadok", "datawyst", QDate(2024, 5, 6), &brak));
    EXPECT_EQ(brak, QString::fromUtf8("Nie można nadać numeru dokumentu: numer FV/2024 jest już zapisany w bazie "
                                      "danych, a szablon numeracji nie zawiera numeru kolejnego. Zmień szablon "
                                      "numeracji w parametrach dokumentu lub datę wystawienia."));
    EXPECT_THROW(numberForSave(t.app, QDate(2024, 5, 6)), NoFreeNumber);
    EXPECT_EQ(NumerNastepny(t.app, "fadok", "datawyst", QDate(2025, 1, 2)), "FV/2025");
    EXPECT_TRUE(reported.isEmpty());
}

TEST(Numbering, RendersEveryTemplateKey)
{
    QDate d(2005, 3, 9);
    EXPECT_EQ(NumberUtworz(7, d, QString::fromUtf8("Numer/Miesiąc/Rok[4]")), "7/03/2005");
    EXPECT_EQ(NumberUtworz(7, d, QString::fromUtf8("Numer/Rok[2]/Miesiąc/RR")), "7/05/03/RR");
    EXPECT_EQ(NumberUtworz(12, QDate(2024, 11, 1), QString::fromUtf8("Numer/Miesiąc")), "12/11");
    EXPECT_EQ(NumberUtworz(3, d, "FV/Rok[4]"), "FV/2005");  // no running number
    EXPECT_EQ(NumberUtworz(3, d, QString::fromUtf8("Numer-Miesiąc")), QString::fromUtf8("3-Miesiąc"));
}

TEST(Numbering, TemplateSplitsAndJoins)
{
    auto p = NumSzablonRozbierz(QString::fromUtf8("Numer/Miesiąc/Rok[4]"));
    EXPECT_EQ(p.part2, QString::fromUtf8("/Miesiąc"));
    EXPECT_EQ(p.part3, "/Rok[4]");
    EXPECT_FALSE(p.suffix);
    p = NumSzablonRozbierz("Numer/Rok[2]/A");
    EXPECT_EQ(p.part2, "/Rok[2]");
    EXPECT_FALSE(p.part3);
    EXPECT_EQ(p.suffix, "A");
    p = NumSzablonRozbierz(QString::fromUtf8("Numer/Rok[4]/Miesiąc/RR"));
    EXPECT_EQ(p.part3, QString::fromUtf8("/Miesiąc"));
    EXPECT_EQ(p.suffix, "RR");
    p = NumSzablonRozbierz("Numer/XYZ");
    EXPECT_FALSE(p.part2);
    EXPECT_EQ(p.suffix, "XYZ");
    p = NumSzablonRozbierz("");
    EXPECT_FALSE(p.part2 || p.part3 || p.suffix);

    EXPECT_EQ(NumSzablonZloz("Numer", QString::fromUtf8("/Miesiąc"), "/Rok[4]", ""),
              QString::fromUtf8("Numer/Miesiąc/Rok[4]"));
    EXPECT_EQ(NumSzablonZloz("Numer", "/Rok[2]", "", "A"), "Numer/Rok[2]/A");
    EXPECT_EQ(NumSzablonZloz("Numer", "", "", ""), "Numer");
}
