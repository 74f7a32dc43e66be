#include "register/register_queries.h"
#include "documents/document_list.h"
#include "register/chart_data.h"
#include "register/register_columns.h"
#include "support/stored_document.h"
#include <QLocale>
#include <gtest/gtest.h>

// The register's, the sums row's and the chart's statements, without a window.

namespace {

// The numbers of the rows a cursor gives, part after part of about `part` rows, to the end.
QStringList numbersOf(NewestFirstCursor& cursor, int part)
{
    QStringList numbers;
    for (auto pieces = cursor.next(part); !pieces.empty(); pieces = cursor.next(part))
        for (const auto& piece : pieces)
            for (const db::Row& r : std::get<LazyQueryModel::Part>(piece).rows) numbers << r.text("Numer");
    return numbers;
}

struct Queries : ::testing::Test, StoredDocuments {
    QStringList listed(const RegisterFilter& f)
    {
        NewestFirstCursor cursor = registerCursor(t.app, f);
        return numbersOf(cursor, 2);
    }
    QStringList sums(const RegisterFilter& f)
    {
        QStringList texts;
        const auto values = registerSums(db(), f);
        for (size_t i = 0; i < values.size(); ++i) texts << cellText(registerColumns()[i], values[i]);
        return texts;
    }
    db::Row stored(const QString& numer) { return *db().queryOne("SELECT * FROM fadok WHERE Numer = ?", {numer}); }
    qint64 rowid(const QString& numer)
    {
        return db().scalar("SELECT rowid FROM fadok WHERE Numer = ?", {numer}).toInt();
    }
};

RegisterFilter kind(const char* k)
{
    RegisterFilter f;
    f.dokument = k;
    return f;
}
RegisterFilter name(const QString& n)
{
    RegisterFilter f;
    f.nazwa = n;
    return f;
}
RegisterFilter form(const char* p)
{
    RegisterFilter f;
    f.platfor = QString::fromUtf8(p);
    return f;
}
RegisterFilter month(const char* m)
{
    RegisterFilter f;
    f.miesiac = m;
    return f;
}
RegisterFilter unpaid()
{
    RegisterFilter f;
    f.niezaplacone = true;
    return f;
}

}  // namespace

TEST_F(Queries, EachFilterAndTheirCombinationsListTheRightDocumentsNewestFirst)
{
    RegisterFilter fr_przelew_unpaid = form("przelew");
    fr_przelew_unpaid.dokument = "FR";
    fr_przelew_unpaid.niezaplacone = true;
    RegisterFilter february_jan = month("202402");
    february_jan.nazwa = "jan";
    const struct {
        const char* what;
        RegisterFilter filter;
        QStringList numbers;
    } cases[] = {
        // Within a month by the number's leading digits: 12 and 11 before 2.
        {"nothing", {}, {"12/03/2024", "11/03/2024", "2/03/2024", "10/02/2024", "9/12/2023", "1/01/2023"}},
        {"correction", kind("KFR"), {"12/03/2024"}},
        {"invoice", kind("FR"), {"11/03/2024", "2/03/2024", "10/02/2024", "9/12/2023", "1/01/2023"}},
        {"name with an apostrophe, other case", name("o'BRIEN"), {"11/03/2024", "10/02/2024"}},
        {"Polish letters in another case", name(QString::fromUtf8("ŁĄK")), {"12/03/2024"}},
        {"a word of the statement", name("BORDER"), {"9/12/2023"}},
        {"a percent sign is a character", name("0%"), {"9/12/2023"}},
        {"an underscore is a character", name("_x"), {"9/12/2023"}},
        {"an old wildcard is a character", name("*"), {}},
        // Paid means the amount to pay: the correction paid less its deduction is paid.
        {"unpaid", unpaid(), {"11/03/2024", "10/02/2024", "9/12/2023"}},
        {"payment form in any case", form("przelew"), {"12/03/2024", "11/03/2024", "9/12/2023"}},
        {"payment form with a Polish letter", form("gotówka"), {"2/03/2024", "10/02/2024"}},
        {"month", month("202403"), {"12/03/2024", "11/03/2024", "2/03/2024"}},
        {"the last day of a month", month("202312"), {"9/12/2023"}},
        {"a month without documents", month("202404"), {}},
        {"kind, form and unpaid", fr_przelew_unpaid, {"11/03/2024", "9/12/2023"}},
        {"month and name", february_jan, {"10/02/2024"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(listed(c.filter), c.numbers);
    }
}

TEST_F(Queries, SumsRowTotalsWhatTheFilterLists)
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    const QStringList all = sums({});
    ASSERT_EQ(all.size(), 21);
    EXPECT_EQ(all[1], "Razem");
    // Money columns "#,##0.00"; the amount to pay in the general form.
    EXPECT_EQ(all.mid(9, 6), QStringList({"1 293,39", "97,36", "1 390,75", "2,00", "1388,75", "279,75"}));
    for (int i : {0, 2, 3, 4, 5, 6, 7, 8, 15, 16, 17, 18, 19, 20}) EXPECT_EQ(all[i], "") << i;
    // The filter is handed over whole: a name holding the statement's words sums its document.
    EXPECT_EQ(sums(name("BORDER")).mid(11, 1), QStringList{"10,00"});
    EXPECT_EQ(sums(unpaid()).mid(11, 4), QStringList({"1 210,00", "1,00", "1209", "100,00"}));
    // Nothing listed: "Razem" and empty sums.
    const QStringList none = sums(month("202404"));
    EXPECT_EQ(none[1], "Razem");
    EXPECT_EQ(none.mid(9, 6), QStringList(6, QString()));
    QLocale::setDefault(QLocale::c());
}

TEST_F(Queries, MarkingPaidWritesTheAmountToPayAndUnpaidClearsIt)
{
    markPaid(db(), rowid("11/03/2024"), true);
    EXPECT_EQ(stored("11/03/2024").optDecimal("Zaplacono"), dec("999"));
    EXPECT_EQ(listed(unpaid()), QStringList({"10/02/2024", "9/12/2023"}));
    markPaid(db(), rowid("12/03/2024"), false);
    EXPECT_TRUE(stored("12/03/2024").isNull("Zaplacono"));
    storePaidAmount(db(), rowid("2/03/2024"), dec("0"));
    EXPECT_EQ(stored("2/03/2024").optDecimal("Zaplacono"), dec("0"));
    EXPECT_EQ(listed(unpaid()), QStringList({"12/03/2024", "2/03/2024", "10/02/2024", "9/12/2023"}));
    // A document without an amount to pay stays without a paid amount.
    db().execute("UPDATE fadok SET DoZaplaty = NULL WHERE Numer = '9/12/2023'");
    markPaid(db(), rowid("9/12/2023"), true);
    EXPECT_TRUE(stored("9/12/2023").isNull("Zaplacono"));
    // A document deleted meanwhile by another workstation.
    const qint64 gone = rowid("1/01/2023");
    db().execute("DELETE FROM fadok WHERE Numer = '1/01/2023'");
    try {
        markPaid(db(), gone, true);
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kNoCurrentRecord);
    }
}

TEST_F(Queries, ListsOfPaymentFormsMonthsAndYears)
{
    // "Przelew" and "przelew" are one form; gotówka comes first in Polish order.
    const ListItems forms = paymentForms(db());
    ASSERT_EQ(forms.size(), 2u);
    EXPECT_EQ(forms[0].first, QString::fromUtf8("gotówka"));
    EXPECT_EQ(forms[1].first.toLower(), "przelew");
    EXPECT_EQ(issueMonths(db()),
              ListItems({{"202403", "03.2024"}, {"202402", "02.2024"}, {"202312", "12.2023"}, {"202301", "01.2023"}}));
    EXPECT_EQ(issueYears(db()), ListItems({{"2024", "2024"}, {"2023", "2023"}}));
    db().execute("DELETE FROM fadok");
    EXPECT_TRUE(paymentForms(db()).empty());
    EXPECT_TRUE(issueMonths(db()).empty());
    EXPECT_TRUE(issueYears(db()).empty());
}

TEST_F(Queries, ChartKindsShowTheMonthsOfTheChosenYear)
{
    const auto months = monthSums(db(), 2024);
    ChartGrid grid;
    chartFill(grid, "B", months);
    EXPECT_EQ(grid.labels, QStringList({"Brutto", "Netto", "Kwota VAT"}));
    // March: the correction is added like an invoice.
    EXPECT_DOUBLE_EQ(grid.values[2][0], 1173.5);
    EXPECT_DOUBLE_EQ(grid.values[2][1], 114.39 + 930 + 46.96);
    EXPECT_DOUBLE_EQ(grid.values[1][2], 14);
    EXPECT_DOUBLE_EQ(grid.values[0][0], 0);
    chartFill(grid, "Z", months);
    EXPECT_EQ(grid.labels, QStringList({"Brutto", "Zapłacone"}));
    EXPECT_DOUBLE_EQ(grid.values[2][1], 172.5);
    // Still to pay: the amounts to pay (122 + 999 + 50.5) less the paid ones.
    chartFill(grid, "N", months);
    EXPECT_EQ(grid.labels, QStringList({"Brutto", "Niezapłacone"}));
    EXPECT_DOUBLE_EQ(grid.values[2][1], 999);
    EXPECT_DOUBLE_EQ(grid.values[1][1], 100);
    chartFill(grid, "B", months);
    EXPECT_EQ(grid.columns(), 3);
    // No kind: nothing changes; no year: zeros in the columns as they are.
    chartFill(grid, "", monthSums(db(), 2023));
    EXPECT_DOUBLE_EQ(grid.values[2][0], 1173.5);
    chartZero(grid);
    EXPECT_EQ(grid.columns(), 3);
    for (const auto& m : grid.values)
        for (double v : m) EXPECT_EQ(v, 0);
    // A year without documents.
    for (const MonthSums& m : monthSums(db(), 2019)) EXPECT_EQ(m.brutto, Decimal());
}

TEST_F(Queries, CopiedRowsAreTabSeparatedLinesOfUnformattedValues)
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    const db::Row row = *registerRow(db(), rowid("11/03/2024"));
    const QString text = QString::fromUtf8(copyText(1, [&](qint64) -> const db::Row& { return row; }));
    const QStringList lines = text.split("\r\n");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], "");
    EXPECT_TRUE(lines[0].startsWith("Dokument\tNumer\tData wyst.\t"));
    EXPECT_TRUE(lines[0].endsWith("Uwagi\tFundusz\t"));
    EXPECT_EQ(lines[0].count('\t'), 21);
    const QStringList fields = lines[1].split('\t');
    ASSERT_EQ(fields.size(), 22);
    EXPECT_EQ(fields[1], "11/03/2024");
    EXPECT_EQ(fields[2], QLocale().toString(QDate(2024, 3, 2), QLocale::ShortFormat));
    EXPECT_EQ(fields[9], "930");  // no grouping, no trailing zeros
    EXPECT_EQ(fields[10], "70");
    EXPECT_EQ(fields[11], "1000");
    EXPECT_EQ(fields[13], "999");
    EXPECT_EQ(fields[14], "");  // not paid
    EXPECT_EQ(fields[16], "14");
    EXPECT_EQ(QString::fromUtf8(copyText(0, [&](qint64) -> const db::Row& { return row; })), lines[0] + "\r\n");
    QLocale::setDefault(QLocale::c());
}

// Read a few rows at a time, the cursor gives the document list's order, odd dates and numbers
// included, documents without a date last.
TEST(RegisterCursor, PartsTogetherGiveTheDocumentListsOrder)
{
    TempDatabase t;
    auto add = [&](const QString& numer, const db::Value& date) {
        t.db().execute("INSERT INTO fadok (Inddok, Numer, Datawyst) VALUES ('FR', ?, ?)", {numer, date});
    };
    for (int i = 0; i < 60; ++i)
        add(QStringLiteral("%1/%2").arg((i * 37) % 23).arg(i), QDate(2020 + i % 3, 1 + i % 12, 1 + i % 28));
    add(" 7 A/03", "2024-03-05");
    add("7.5/03", "2024-03-05 10:15:00");
    add("5/03", "2024-03-31T23:59:59");
    add("4/01", "nie data");
    add("3/01", db::Value());
    add("2/01", "2025-13-01");
    add("1/01", "0000-01-01");
    QStringList expected;
    DocumentListModel list(t.app);
    list.refill();
    list.fetchAll();
    for (int r = 1; r < list.rowCount(); ++r) expected << list.numer(r);
    for (int part : {1, 3, 7, 200}) {
        SCOPED_TRACE(part);
        NewestFirstCursor cursor = registerCursor(t.app, {});
        EXPECT_EQ(numbersOf(cursor, part), expected);
        EXPECT_TRUE(cursor.atEnd());
    }
    // Another database opened meanwhile: the cursor reads nothing more.
    NewestFirstCursor cursor = registerCursor(t.app, {});
    ASSERT_FALSE(cursor.next(1).empty());
    t.app.gBaseDb = db::Database::open(t.path);
    EXPECT_TRUE(cursor.next(1).empty());
}
