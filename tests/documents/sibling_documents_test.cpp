#include "documents/buffer.h"
#include "documents/sibling_documents.h"
#include "platform/date_text.h"
#include "support/document_fixture.h"
#include "support/sibling_databases.h"
#include "support/temp_database.h"
#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>

// Documents of the family's other programs read from their own database files.

namespace {

struct Siblings : ::testing::Test {
    TempDatabase t;
    App& app = t.app;
    SiblingDatabases files{t.dir.path()};
    QStringList reported;  // the places of the errors reported

    void SetUp() override
    {
        app.errorReporter = [this](App&, const QString& where, const QString&) { reported << where; };
    }
    static HandOver ref(const char* kod, const QString& path, const char* kind, const char* numer, const QString& haslo = {})
    {
        return {kod, path, haslo, QString::fromLatin1(kind).leftJustified(3), numer};
    }
    static QByteArray digest(const QString& path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }
    // A position as "number name quantity unit price code net VAT gross", empty values as "-".
    static QString row(const Position& p)
    {
        auto d = [](const OptDecimal& v) { return v ? v->toString() : QStringLiteral("-"); };
        return QStringList{QString::number(p.Pozycja.value_or(0)), p.Nazwa, d(p.Ilosc), p.Indjed, d(p.Cenanet),
                           p.Indvat.isEmpty() ? QStringLiteral("-") : p.Indvat, d(p.WartNetto), d(p.WartVAT), d(p.WartBrutto)}
            .join(' ');
    }
};

} // namespace

TEST_F(Siblings, EachProgramsDocumentArrivesWithItsHeaderFieldsAndPositions)
{
    struct Case {
        HandOver h;
        QStringList header;  // Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, Podstawa, Wydane ("<>" when left as it is)
        QStringList rows;
    } cases[] = {
        // Stored values come as they are (no rounding), in the order of their numbers, renumbered.
        {ref("MG", files.mg, "WZ", "12/2024"),
         {dateText(QDate(2024, 5, 3)), dateText(QDate(2024, 5, 3)), "Jan Rolnik", "Wola 5", "85010112345", "Umowa 7", "WZ Nr 12/2024"},
         {"1 Pszenica - kg - - - - -", "2 Owies 2.5 dt 80 8 200 16.0049 216.0049"}},
        {ref("MG", files.mg, "PZ", "12/2024"),
         {dateText(QDate(2024, 5, 4)), dateText(QDate(2024, 5, 4)), "Piotr Kos", "Brzozowa 1", "", "Dostawa", "<>"},
         {"1 Siano 1 t 300 8 300 24 324"}},
        // The header by number alone; the positions of the named kind, correction rows included.
        {ref("FA", files.fa, "FV", "7/05/2024"),
         {dateText(QDate(2024, 5, 6)), dateText(QDate(2024, 5, 2)), "Anna O'Hara", "Lipowa 3", "5270103391", "Zlecenie 3", "Kwit 9"},
         {"1 Rzepak 1.5 t 2000 7 3000 210 3210", "2 Rzepak -1 t 2000 7 -2000 -140 -2140"}},
        // An order's VAT is 22 %, rounded as the grid rounds it.
        {ref("ZM", files.zm, "ZAM", "Z/3"),
         {dateText(QDate(2024, 4, 30)), dateText(QDate(2024, 4, 30)), "Ewa Nowak", "Polna 2", "7001011234",
          QString::fromUtf8("Zamówienie Nr Z/3"), "<>"},
         {QString::fromUtf8("1 Jęczmień 10 dt 10 22 100 22 122"), "2 Owies 3 dt 3.35 22 10.05 2.21 12.26",
          "3 Bez ceny - dt - 22 - - -"}},
        {ref("ZM", files.zm, "ZAP", "Z/3"),
         {dateText(QDate(2024, 4, 30)), dateText(QDate(2024, 4, 30)), "Ewa Nowak", "Polna 2", "7001011234", "<>", "<>"},
         {QString::fromUtf8("1 Jęczmień 10 dt 10 22 100 22 122"), "2 Owies 3 dt 3.35 22 10.05 2.21 12.26",
          "3 Bez ceny - dt - 22 - - -"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.h.programKod + " " + c.h.inddok + " " + c.h.numer).toStdString());
        const auto d = WczytajZProgramu(app, c.h);
        ASSERT_TRUE(d);
        auto opt = [](const std::optional<QString>& v) { return v ? *v : QStringLiteral("<>"); };
        EXPECT_EQ((QStringList{d->Datawyst, d->Datasprz, d->Nazkon, d->Adrkon, d->Nipkon, opt(d->Podstawa), opt(d->Wydane)})
                      .join(" | ").toStdString(),
                  c.header.join(" | ").toStdString());
        QStringList rows;
        for (const Position& p : d->pozycje) rows << row(p);
        EXPECT_EQ(rows.join(" | ").toStdString(), c.rows.join(" | ").toStdString());
    }
    EXPECT_TRUE(reported.isEmpty()) << reported.join(", ").toStdString();
}

TEST_F(Siblings, AMissingDocumentOrAnUnknownProgramGivesNothingAndSaysNothing)
{
    EXPECT_FALSE(WczytajZProgramu(app, ref("MG", files.mg, "WZ", "13/2024")));
    EXPECT_FALSE(WczytajZProgramu(app, ref("MG", files.mg, "FV", "7/05/2024")));
    EXPECT_FALSE(WczytajZProgramu(app, ref("FA", files.fa, "FV", "8/05/2024")));
    EXPECT_FALSE(WczytajZProgramu(app, ref("ZM", files.zm, "ZAM", "z/3 ")));
    EXPECT_FALSE(WczytajZProgramu(app, ref("XX", files.mg, "WZ", "12/2024")));
    EXPECT_FALSE(WczytajZProgramu(app, ref("FR", files.fa, "FR", "7/05/2024")));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(Siblings, TheSendersFileIsOnlyReadAndNeverMade)
{
    SiblingDatabases::protect(files.fa, "tajne");
    const QByteArray before = digest(files.fa);
    const QString missing = t.dir.filePath("brak.mdb");
    struct Case {
        HandOver h;
        const char* place;
    } cases[] = {
        {ref("MG", missing, "WZ", "12/2024"), "WczytajZMagazynu"},
        {ref("FA", files.fa, "FV", "7/05/2024", "zle"), "WczytajZRolkwit"},
        {ref("FA", files.fa, "FV", "7/05/2024"), "WczytajZRolkwit"},
        {ref("ZM", files.mg, "ZAM", "Z/3"), "WczytajZZamowienia"},  // a file without the orders' tables
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.place);
        reported.clear();
        EXPECT_FALSE(WczytajZProgramu(app, c.h));
        EXPECT_EQ(reported, QStringList{c.place});
    }
    EXPECT_FALSE(QFile::exists(missing));
    const auto d = WczytajZRolkwit(app, ref("FA", files.fa, "FV", "7/05/2024", "tajne"));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->pozycje.size(), 2u);
    EXPECT_EQ(digest(files.fa), before);
    EXPECT_FALSE(QFile::exists(files.fa + "-journal"));
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
    app.gBaseDb = db::Database::open(t.path, QString(), exclusive);
    const auto d = WczytajZZamowienia(app, ref("ZM", t.path, "ZAM", "Z/1"));
    ASSERT_TRUE(d) << reported.join(", ").toStdString();
    ASSERT_EQ(d->pozycje.size(), 1u);
    EXPECT_EQ(row(d->pozycje[0]), "1 Owies 1 dt 1 22 1 0.22 1.22");
}

TEST_F(Siblings, TakingOverReplacesBothBuffersAtOnceOrNotAtAll)
{
    bufferDocument(app, invoiceHeader("1/05/2024"), {{"Stare", "1", "kg", "1"}}, {{"Korygowane", "2", "kg", "1"}});
    auto count = [&](const char* table) { return t.db().scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt(); };
    const auto d = WczytajZMagazynu(app, ref("MG", files.mg, "WZ", "12/2024"));
    ASSERT_TRUE(d);

    // A failure on the way (the last row cannot be written) leaves both buffers as they were.
    t.db().executeScript("CREATE TRIGGER refuse BEFORE INSERT ON dopoz WHEN NEW.Nazwa = 'Owies' "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    EXPECT_FALSE(PrzejmijPozycje(app, *d));
    EXPECT_EQ(reported, QStringList{"WczytajZMagazynu"});
    EXPECT_EQ(t.db().scalar("SELECT group_concat(Nazwa) FROM dopoz").toText(), "Stare");
    EXPECT_EQ(count("dokor"), 1);

    t.db().executeScript("DROP TRIGGER refuse;");
    const auto rows = PrzejmijPozycje(app, *d);
    ASSERT_TRUE(rows);
    EXPECT_TRUE(rows->buffered);
    EXPECT_EQ(t.db().scalar("SELECT group_concat(Pozycja || ' ' || Nazwa || ' ' || ifnull(WartVAT, '-'), ', ') FROM "
                            "(SELECT * FROM dopoz ORDER BY Pozycja)").toText(),
              "1 Pszenica -, 2 Owies 160049");
    EXPECT_EQ(count("dokor"), 0);
    EXPECT_EQ(rows->dopoz.size(), 2u);
}
