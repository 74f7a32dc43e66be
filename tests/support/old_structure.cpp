#include "support/old_structure.h"
#include "platform/database.h"

namespace {

const QStringList kHeader = {
    "Stanowisko SHORT",    "Inddok TEXT",        "Numer TEXT",           "Datawyst DATETIME", "Datasprz DATETIME",
    "KorInddok TEXT",      "KorNumer TEXT",      "KorDatawyst DATETIME", "Podstawa TEXT",     "Wydane TEXT",
    "Nazkon TEXT",         "Adrkon TEXT",        "Nipkon TEXT",          "Nazdok TEXT",       "Numdok TEXT",
    "Wyddok TEXT",         "Datadok DATETIME",   "RazNetto CURRENCY",    "RazVAT CURRENCY",   "RazBrutto CURRENCY",
    "Potracenie CURRENCY", "DoZaplaty CURRENCY", "PlatFor TEXT",         "PlatDni LONG",      "PlatTer TEXT",
    "PlatRach TEXT",       "Wystawil TEXT",      "Uwagi TEXT",           "Fundusz TEXT(100)", "Zaplacono CURRENCY"};
const QStringList kPosition = {"Stanowisko SHORT",   "Inddok TEXT", "Numer TEXT",         "Pozycja LONG",
                               "Korekta BIT",        "Nazwa TEXT",  "Ilosc CURRENCY",     "Indjed TEXT",
                               "Cenanet CURRENCY",   "Indvat TEXT", "WartNetto CURRENCY", "WartVAT CURRENCY",
                               "WartBrutto CURRENCY"};

// Texts are declared as the template declares them (the older versions differ only in columns).
QString create(const QString& table, QStringList columns, const QStringList& missing = {})
{
    columns.erase(std::remove_if(columns.begin(), columns.end(),
                                 [&](const QString& c) { return missing.contains(c.section(' ', 0, 0)); }),
                  columns.end());
    for (QString& c : columns)
        if (c.section(' ', 1).startsWith("TEXT") && c != "Haslo TEXT" && c != "Poziom TEXT") c += " COLLATE NOCASE";
    return QStringLiteral("CREATE TABLE %1 (%2);\n").arg(table, columns.join(", "));
}

}  // namespace

void makeOldStructure(const QString& path, int major, int minor)
{
    std::pair<int, int> v{major, minor};
    QStringList missing;
    if (v < std::pair{3, 0})
        missing << "Zaplacono"
                << "Stanowisko";
    if (v < std::pair{3, 2})
        missing << "Potracenie"
                << "DoZaplaty";
    if (v < std::pair{3, 4}) missing << "Fundusz";
    QString sql;
    for (auto t : {"fadok", "dodok"}) sql += create(t, kHeader, missing);
    for (auto t : {"fapoz", "dopoz", "dokor"}) sql += create(t, kPosition, missing);
    sql += create("dbprg", {"Indprg TEXT", "Nazwa TEXT", "VerMajor LONG", "VerMinor LONG", "VerRevision LONG"});
    sql += create("dbpar", {"Indpar TEXT", "Wartosc TEXT"});
    sql += create("dbbin", {"Indpar TEXT", "Wartosc LONGBINARY"});
    sql += create("dboso", {"Indoso TEXT", "Imie TEXT", "Nazwisko TEXT", "Haslo TEXT", "Aktywny BIT", "Admin BIT"});
    sql += create("dbupr", {"Indoso TEXT", "Indprg TEXT", "Poziom TEXT"});
    auto d = db::Database::create(path);
    d->executeScript(sql);
    d->execute("INSERT INTO dbprg VALUES ('FA', 'Fakturowanie', 9, 9, 9)");
    d->execute("INSERT INTO dbprg VALUES ('FR', 'Rolkwit', ?, ?, 1)", {major, minor});
    for (auto t : {"fadok", "dodok"})
        d->execute(QStringLiteral("INSERT INTO %1 (Inddok, Numer, Datawyst, RazNetto, RazVAT, RazBrutto) "
                                  "VALUES ('FR', ?, '2020-05-04', 1000000, 0, 1230000)")
                       .arg(t),
                   {QStringLiteral("1/05/2020")});
    for (auto t : {"fapoz", "dopoz", "dokor"})
        d->execute(QStringLiteral("INSERT INTO %1 (Inddok, Numer, Pozycja, Nazwa, Ilosc) VALUES ('FR', '1/05/2020', 1, "
                                  "'Pszenica', 20000)")
                       .arg(t));
}

QStringList storedColumns(const QString& path, const QString& table)
{
    auto d = db::Database::open(path);
    QStringList names;
    for (auto& r : d->query(QStringLiteral("PRAGMA table_info(%1)").arg(table))) names << r.text("name");
    return names;
}
