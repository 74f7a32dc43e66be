#include "documents/sibling_documents.h"
#include "platform/date_text.h"
#include "support/document_fixture.h"
#include "support/sibling_databases.h"
#include "support/temp_database.h"
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <exception>
#include <gtest/gtest.h>

// Documents of the family's other programs read from their own database files.

namespace {

struct Siblings : ::testing::Test {
    TempDatabase t;
    App& app = t.app;
    SiblingDatabases files{t.dir.path()};
    QStringList reported;  // the places of the errors reported
    QStringList said;      // and what they said

    void SetUp() override
    {
        app.errorReporter = [this](App&, const QString& where, const QString&) {
            reported << where;
            try {
                if (auto current = std::current_exception()) std::rethrow_exception(current);
            } catch (const AppError& e) {
                said << e.description();
            } catch (...) {
            }
        };
    }
    static HandOver ref(const char* kod, const QString& path, const char* kind, const char* numer,
                        const QString& haslo = {})
    {
        return {kod, path, haslo, QString::fromLatin1(kind).leftJustified(3), numer};
    }
    // The header fields, then each position as "number name quantity unit price code net VAT gross".
    static std::string shown(const SiblingDocument& d)
    {
        auto opt = [](const std::optional<QString>& v) { return v ? *v : QStringLiteral("<>"); };
        QStringList out{d.Datawyst, d.Datasprz, d.Nazkon, d.Adrkon, d.Nipkon, opt(d.Podstawa), opt(d.Wydane)};
        auto n = [](const OptDecimal& v) { return v ? v->toString() : QStringLiteral("-"); };
        for (const Position& p : d.pozycje)
            out << QStringList{QString::number(*p.Pozycja),
                               p.Nazwa,
                               n(p.Ilosc),
                               p.Indjed,
                               n(p.Cenanet),
                               p.Indvat,
                               n(p.WartNetto),
                               n(p.WartVAT),
                               n(p.WartBrutto)}
                       .join(' ');
        return out.join(" | ").toStdString();
    }
};

}  // namespace

TEST_F(Siblings, EachProgramsDocumentArrivesWithItsHeaderFieldsAndPositions)
{
    auto day = [](int m, int d) { return dateText(QDate(2024, m, d)); };
    struct Case {
        HandOver h;
        QString want;
    } cases[] = {
        // Values as stored (no rounding), in the order of their numbers, renumbered.
        {ref("MG", files.mg, "WZ", "12/2024"), day(5, 3) + " | " + day(5, 3) +
                                                   " | Jan Rolnik | Wola 5 | 85010112345 | "
                                                   "Umowa 7 | WZ Nr 12/2024 | 1 Pszenica - kg -  - - - | "
                                                   "2 Owies 2.5 dt 80 8 200 16.0049 216.0049"},
        {ref("MG", files.mg, "PZ", "12/2024"),
         day(5, 4) + " | " + day(5, 4) + " | Piotr Kos | Brzozowa 1 |  | Dostawa | <> | 1 Siano 1 t 300 8 300 24 324"},
        // The header by number alone; the positions of the named kind, correction rows included.
        {ref("FA", files.fa, "FV", "7/05/2024"), day(5, 6) + " | " + day(5, 2) +
                                                     " | Anna O'Hara | Lipowa 3 | 5270103391 | "
                                                     "Zlecenie 3 | Kwit 9 | 1 Rzepak 1.5 t 2000 7 3000 210 3210 | "
                                                     "2 Rzepak -1 t 2000 7 -2000 -140 -2140"},
        // An order's VAT is 22 %, rounded as the grid rounds it.
        {ref("ZM", files.zm, "ZAM", "Z/3"),
         day(4, 30) + " | " + day(4, 30) +
             QString::fromUtf8(" | Ewa Nowak | Polna 2 | 7001011234 | Zamówienie Nr Z/3 | <> | "
                               "1 Jęczmień 10 dt 10 22 100 22 122 | "
                               "2 Owies 3 dt 3.35 22 10.05 2.21 12.26 | 3 Bez ceny - dt - 22 - - -")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.h.programCode + " " + c.h.inddok + " " + c.h.numer).toStdString());
        const auto d = readFromSiblingProgram(app, c.h);
        ASSERT_TRUE(d);
        EXPECT_EQ(shown(*d), c.want.toStdString());
    }
    // Absent documents and unknown programs give nothing, silently.
    EXPECT_FALSE(readFromSiblingProgram(app, ref("MG", files.mg, "FV", "7/05/2024")));
    EXPECT_FALSE(readFromSiblingProgram(app, ref("ZM", files.zm, "ZAM", "z/3 ")));
    EXPECT_FALSE(readFromSiblingProgram(app, ref("FR", files.fa, "FR", "7/05/2024")));
    EXPECT_TRUE(reported.isEmpty()) << reported.join(", ").toStdString();
}

TEST_F(Siblings, TheSendersFileIsOnlyReadAndNeverMade)
{
    SiblingDatabases::protect(files.fa, "tajne");
    // The sender keeps its file in a journal mode of its own, which a writing connection here would change.
    db::Database::open(files.fa, "tajne")->executeScript("PRAGMA journal_mode=WAL");
    auto digest = [&] {
        QFile f(files.fa);
        f.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    };
    const QByteArray before = digest();
    const QString missing = t.dir.filePath("brak.mdb");
    // A sender whose positions lack a column of their values, as one whose header lacks one.
    ASSERT_TRUE(QDir(t.dir.path()).mkdir("bez"));
    const SiblingDatabases lacking(t.dir.filePath("bez"));
    SiblingDatabases::dropColumn(lacking.fa, "fapoz", "wartvat");
    SiblingDatabases::dropColumn(lacking.mg, "mgdok", "nazkon");
    // Values that the family's programs never store so: a text for a quantity, a fraction of a unit,
    // a text for a date.
    db::Database::open(files.zm)->execute("UPDATE zmpoz SET ilosc = 'abc' WHERE pozycja = 2");
    db::Database::open(files.mg)->execute("UPDATE mgpoz SET wartnetto = 2.5 WHERE Inddok = 'PZ'");
    db::Database::open(files.mg)->execute("UPDATE mgdok SET Data = 'wczoraj' WHERE inddok = 'WZ'");
    struct Case {
        HandOver h;
        const char* place;
        const char* text = nullptr;  // what is said, where it matters
    } cases[] = {
        {ref("MG", missing, "WZ", "12/2024"), "WczytajZMagazynu"},
        {ref("FA", files.fa, "FV", "7/05/2024", "zle"), "WczytajZRolkwit"},
        {ref("ZM", files.mg, "ZAM", "Z/3"), "WczytajZZamowienia"},  // a file without the orders' tables
        {ref("ZM", files.zm, "ZAM", "Z/3"), "WczytajZZamowienia"},
        {ref("MG", files.mg, "PZ", "12/2024"), "WczytajZMagazynu"},
        {ref("MG", files.mg, "WZ", "12/2024"), "WczytajZMagazynu"},
        {ref("FA", lacking.fa, "FV", "7/05/2024"), "WczytajZRolkwit", "Brak kolumny WartVAT."},
        {ref("MG", lacking.mg, "WZ", "12/2024"), "WczytajZMagazynu", "Brak kolumny nazkon."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.place);
        reported.clear();
        said.clear();
        EXPECT_FALSE(readFromSiblingProgram(app, c.h));
        EXPECT_EQ(reported, QStringList{c.place});
        if (c.text) {
            EXPECT_EQ(said.join(" | ").toStdString(), c.text);
        }
    }
    EXPECT_FALSE(QFile::exists(missing));
    ASSERT_TRUE(WczytajZRolkwit(app, ref("FA", files.fa, "FV", "7/05/2024", "tajne")));
    EXPECT_EQ(digest(), before);
}

TEST_F(Siblings, TheDatabaseOpenHereIsReadThroughItsOwnConnectionEvenWhenHeldExclusively)
{
    t.db().executeScript("CREATE TABLE zmdok (numer TEXT, Datawyst DATETIME, nazkon TEXT, adrkon TEXT, nipkon TEXT);"
                         "CREATE TABLE zmpoz (Numer TEXT, pozycja LONG, nazwa TEXT, ilosc CURRENCY, Indjed TEXT, "
                         "cenanet CURRENCY, wartnetto CURRENCY);"
                         "INSERT INTO zmdok VALUES ('Z/1', '2024-05-01', 'Ewa', NULL, NULL);"
                         "INSERT INTO zmpoz VALUES ('Z/1', 1, 'Owies', 10000, 'dt', 10000, 10000);");
    db::OpenOptions exclusive;
    exclusive.exclusive = true;
    app.gBaseDb.reset();  // nobody else has the file open: it can be opened exclusively
    app.gBaseDb = db::Database::open(t.path, QString(), exclusive);
    const auto d = WczytajZZamowienia(app, ref("ZM", t.path, "ZAM", "Z/1"));
    ASSERT_TRUE(d) << reported.join(", ").toStdString();
    EXPECT_EQ(d->pozycje.size(), 1u);
}

TEST_F(Siblings, TakingOverReplacesBothBuffersAtOnceOrNotAtAll)
{
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"Stare", "1", "kg", "1"}}, {{"Korygowane", "2", "kg", "1"}});
    auto rows = [&](const char* table) {
        return t.db()
            .scalar(QStringLiteral("SELECT group_concat(Pozycja || ' ' || Nazwa, ', ') FROM (SELECT * FROM %1 "
                                   "ORDER BY Pozycja)")
                        .arg(table))
            .toText();
    };
    const auto d = WczytajZMagazynu(app, ref("MG", files.mg, "WZ", "12/2024"));
    ASSERT_TRUE(d);

    // The last row cannot be written: both buffers stay as they were.
    t.db().executeScript("CREATE TRIGGER refuse BEFORE INSERT ON dopoz WHEN NEW.Nazwa = 'Owies' "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    EXPECT_FALSE(takeOverPositions(app, *d, DocHeader()));
    EXPECT_EQ(reported, QStringList{"WczytajZMagazynu"});
    EXPECT_EQ(rows("dopoz") + " / " + rows("dokor"), "1 Stare / 1 Korygowane");

    t.db().executeScript("DROP TRIGGER refuse;");
    ASSERT_TRUE(takeOverPositions(app, *d, DocHeader()));
    EXPECT_EQ(rows("dopoz") + " / " + rows("dokor"), "1 Pszenica, 2 Owies / ");
}
