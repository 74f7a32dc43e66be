#include "editor/dictionaries.h"
#include "platform/date_text.h"
#include "support/temp_database.h"
#include <gtest/gtest.h>

// The side list's dictionaries read from stored documents, without a window.

namespace {

struct Dictionaries : ::testing::Test {
    TempDatabase t;
    int numer = 0;

    // A stored document with the given header columns (name = value pairs).
    void document(std::initializer_list<std::pair<const char*, db::Value>> columns)
    {
        QStringList names{"Inddok", "Numer"};
        std::vector<db::Value> values{"FR", QString::number(++numer)};
        for (const auto& [n, v] : columns) {
            names << n;
            values.push_back(v);
        }
        t.db().execute(QStringLiteral("INSERT INTO fadok (%1) VALUES (%2)")
                           .arg(names.join(", "), QStringList(names.size(), "?").join(", ")),
                       values);
    }
    void position(const QString& nazwa, const QString& jed, const char* cena, const QString& vat)
    {
        t.db().execute("INSERT INTO fapoz (Inddok, Numer, Pozycja, Korekta, Nazwa, Indjed, Cenanet, Indvat) "
                       "VALUES ('FR', '1', 1, 0, ?, ?, ?, ?)",
                       {nazwa, jed, *Decimal::parse(cena), vat});
    }
    Dictionary read(const QString& name)
    {
        auto d = readDictionary(t.db(), name);
        EXPECT_TRUE(d) << name.toStdString();
        // Read in steps of one key (or one row) each, the dictionary is the same.
        if (auto stepped = readDictionary(t.db(), name, 0); d && stepped) {
            EXPECT_EQ(rows(*stepped), rows(*d));
        }
        return d.value_or(Dictionary{});
    }
    QList<QStringList> rows(const Dictionary& d)
    {
        QList<QStringList> l;
        for (int r = 0; r < d.rows.size(); ++r) l << d.rows.texts(r);
        return l;
    }
    QStringList column(const Dictionary& d, int c)
    {
        QStringList l;
        for (int r = 0; r < d.rows.size(); ++r) l << d.rows.text(r, c);
        return l;
    }
};

QString u(const char* s)
{
    return QString::fromUtf8(s);
}

}  // namespace

TEST_F(Dictionaries, ContractorsAreDistinctWithoutCaseSpeltAsMostlyAndInPolishOrder)
{
    const QDate wydany(2019, 3, 4);
    auto seller = [&](const char* name, const char* account) {
        document({{"Nazkon", u(name)},
                  {"Adrkon", "Wola 1"},
                  {"Nipkon", "123"},
                  {"Nazdok", u("Dowód osobisty")},
                  {"Numdok", "ABC1"},
                  {"Datadok", wydany},
                  {"Wyddok", "Wójt"},
                  {"PlatRach", account}});
    };
    seller("Łukasz Ćma", "11");
    seller("Lech Zając", "22");
    seller("ŁUKASZ ĆMA", "11");  // the same seller written in capitals: one row, spelt as mostly
    seller("Łukasz Ćma", "11");
    seller("Łukasz Ćma", "33");  // a new account: a row of its own
    seller("Marek", "44");
    seller("Żaneta", "55");
    seller("Zenon", "66");
    seller("anna", "77");
    seller("Lech", "88");  // before "Lech Zając", whatever their other values
    Dictionary d = read("Kontrahenci");
    EXPECT_EQ(column(d, 0), (QStringList{"anna", "Lech", "Lech Zając", u("Łukasz Ćma"), u("Łukasz Ćma"), "Marek",
                                         "Zenon", u("Żaneta")}));
    EXPECT_EQ(column(d, 7), (QStringList{"77", "88", "22", "11", "33", "44", "66", "55"}));
    // Every value of the seller, in the columns a pick fills from.
    EXPECT_EQ(d.rows.texts(0),
              (QStringList{"anna", "Wola 1", "123", u("Dowód osobisty"), "ABC1", dateText(wydany), u("Wójt"), "77"}));
}

TEST_F(Dictionaries, HeaderValuesLeaveOutEmptiesTermsThatAreDatesAndRepeats)
{
    document(
        {{"PlatFor", "przelew"}, {"PlatDni", 30}, {"PlatTer", "2024-05-20"}, {"Uwagi", "pilne"}, {"Wystawil", "Anna"}});
    document({{"PlatFor", "Przelew"}, {"PlatDni", 7}, {"PlatTer", "po odbiorze"}, {"Wystawil", "anna"}});
    document({{"PlatFor", u("gotówka")}, {"PlatDni", 14}, {"PlatTer", "14 dni"}, {"Uwagi", "Pilne"}});
    document({{"PlatFor", "przelew"},
              {"PlatTer", u("od dnia dostarczenia towaru")},
              {"Uwagi", "pilne"},
              {"Wystawil", "Anna"}});
    struct Case {
        const char* name;
        QStringList rows;
    };
    const Case cases[] = {
        {"Formy płatności", {u("gotówka"), "przelew"}},
        {"Odroczenia płatności", {"7", "14", "30"}},  // by number, not by text
        {"Terminy płatności", {u("od dnia dostarczenia towaru"), "po odbiorze"}},
        {"Uwagi", {"pilne"}},
        {"Wystawil", {"Anna"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(column(read(u(c.name)), 0), c.rows);
    }
}

TEST_F(Dictionaries, ProductsAreOneRowPerNameUnitAndRateWithTheHighestPrice)
{
    position("Pszenica", "kg", "10,55", "7");
    position("PSZENICA", "kg", "1234,5", "7");  // the same product: its higher price wins
    position("pszenica", "kg", "9", "7");
    position("Pszenica", "kg", "8", "7");    // the spelling used most is shown
    position("Pszenica", "kg", "10", "23");  // another rate: another row
    position(u("Żyto"), "t", "2", "zw");
    position("Owies", "kg", "3", "7,5");
    Dictionary d = read("Produkty");
    ASSERT_EQ(d.rows.size(), 4);
    EXPECT_EQ(d.rows.texts(0), (QStringList{"Owies", "kg", "3,00", "7,5"}));
    EXPECT_EQ(d.rows.texts(1), (QStringList{"Pszenica", "kg", "10,00", "23"}));
    EXPECT_EQ(d.rows.texts(2), (QStringList{"Pszenica", "kg", "1 234,50", "7"}));
    EXPECT_EQ(d.rows.text(3, 0), u("Żyto"));
    // Units and rates have no filter: an empty value is their first row.
    position("Owies", "", "1", "");
    EXPECT_EQ(column(read("Jednostki miary"), 0), (QStringList{"", "kg", "t"}));
    EXPECT_EQ(column(read("Stawki podatku VAT"), 0), (QStringList{"", "23", "7", "7,5", "zw"}));
    EXPECT_EQ(read("Wystawil").mark, u("Wystawiający"));
    EXPECT_FALSE(readDictionary(t.db(), "Daty"));
}

TEST(DatesList, DaysAroundTheAnchorWithItsMarkWeekendsAndDistances)
{
    const QDate anchor(2024, 3, 15);  // a Friday
    Dictionary d = datesList("Datasprz", anchor, 10, 20);
    EXPECT_EQ(d.mark, "Datasprz");
    ASSERT_EQ(d.rows.size(), 31);
    EXPECT_EQ(d.rows.text(0, 1), dateText(QDate(2024, 3, 5)));
    EXPECT_EQ(d.rows.text(0, 2), "-10");
    EXPECT_EQ(d.rows.text(30, 1), dateText(QDate(2024, 4, 4)));
    EXPECT_EQ(d.rows.text(30, 2), "20");
    EXPECT_EQ(d.rows.text(10, 1), dateText(anchor));
    EXPECT_EQ(d.rows.text(10, 2), "<<<");
    EXPECT_TRUE(d.rows.bold(10));
    EXPECT_EQ(d.rows.text(10, 0), QLocale::system().dayName(5, QLocale::ShortFormat));
    int bold = 0;
    for (int r = 0; r < d.rows.size(); ++r) bold += d.rows.bold(r);
    EXPECT_EQ(bold, 1);
    EXPECT_EQ(d.rows.colour(11), QColor(0, 170, 0));  // Saturday 16 March
    EXPECT_EQ(d.rows.colour(12), QColor(255, 0, 0));  // Sunday 17 March
    EXPECT_FALSE(d.rows.colour(13).isValid());
    EXPECT_FALSE(d.rows.colour(10).isValid());

    struct Case {
        int before, after;
        int rows;
    };
    for (const Case& c : {Case{0, 0, 1}, Case{3, 0, 4}, Case{-2, 5, 4}, Case{-5, 3, 0}, Case{2000000000, 0, 36526}}) {
        SCOPED_TRACE(testing::Message() << c.before << " " << c.after);
        EXPECT_EQ(datesList("Dni", anchor, c.before, c.after).rows.size(), c.rows);
    }
    EXPECT_EQ(datesList("Dni", anchor, -2, 5).rows.text(0, 2), "2");
}
