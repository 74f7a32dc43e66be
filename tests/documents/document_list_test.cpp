#include "documents/document_list.h"
#include "support/temp_database.h"
#include <gtest/gtest.h>

namespace {

struct ListFixture : ::testing::Test {
    TempDatabase t;
    // Stores a bare document row; an empty date or number is stored as NULL.
    void add(const QString& numer, const QString& datawyst, const QString& inddok = "FR")
    {
        t.db().execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Nazkon, RazBrutto) VALUES (0,?,?,?,?,?)",
                       {inddok, numer, datawyst, "Kontrahent " + numer, Decimal(12)});
    }
    QStringList listed()
    {
        QStringList l;
        for (const DocumentListRow& r : ListaDokumentow(t.app)) l << r.text();
        return l;
    }
    // The order the database engine gives with its own date and number functions.
    QStringList engineOrder()
    {
        QStringList l;
        for (const db::Row& r : t.db().query("SELECT Inddok, Numer FROM fadok ORDER BY Year(Datawyst) DESC, "
                                              "Month(Datawyst) DESC, Val(Numer) DESC"))
            l << r.text("Inddok") + "  " + r.text("Numer");
        return l;
    }
};

} // namespace

TEST_F(ListFixture, OrderMatchesTheEngineOnAwkwardNumbersAndDates)
{
    add("12/03/2024", "2024-03-30");
    add("9/03/2024", "2024-03-01 10:15:00");
    add("100/02/2024", "2024-02-29");
    add(" 7 A/03/2024", "2024-03-05");         // blanks inside the leading number
    add("7.5/03/2024", "2024-03-05");          // a decimal point
    add("-3/03/2024", "2024-03-06");           // a sign
    add("A/03/2024", "2024-03-07");            // no leading number: 0
    add("", "2024-03-08");                     // no number at all: after every number
    add("5/03/2024", "2024-03-09", "KR");      // equal keys keep the stored order
    add("5/13/2024", "2024-03-10");
    add("123456789012345678/03/2024", "2024-03-11");
    add("4/01/2025", "nie data");              // not a date: after every date
    add("3/01/2025", "");
    add("2/01/2025", "0000-01-01");
    add("1/01/2025", "2025-13-01");
    add("8/12/2023", "2023-12-31T23:59:59");
    const QStringList expected = engineOrder();
    ASSERT_EQ(expected.size(), 16);
    EXPECT_EQ(listed(), expected);
    EXPECT_EQ(listed().first(), "FR  123456789012345678/03/2024");
}

TEST_F(ListFixture, RowCarriesTheShownValues)
{
    t.db().execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, RazNetto, "
                   "RazVAT, RazBrutto, Wystawil) VALUES (0,'FR','3/05/2024',?,?,'Jan','Wólka 7','123',?,?,?,'Ewa')",
                   {QDate(2024, 5, 6), QDate(2024, 5, 4), Decimal(100), Decimal(7), Decimal(107)});
    const auto rows = ListaDokumentow(t.app);
    ASSERT_EQ(rows.size(), 1u);
    const DocumentListRow& r = rows[0];
    EXPECT_EQ(r.Datawyst, QDate(2024, 5, 6));
    EXPECT_EQ(r.Datasprz, QDate(2024, 5, 4));
    EXPECT_EQ(QStringList({r.Nazkon, r.Adrkon, r.Nipkon, r.Wystawil}), QStringList({"Jan", "Wólka 7", "123", "Ewa"}));
    EXPECT_EQ(r.RazNetto, Decimal(100));
    EXPECT_EQ(r.RazVAT, Decimal(7));
    EXPECT_EQ(r.RazBrutto, Decimal(107));
}
