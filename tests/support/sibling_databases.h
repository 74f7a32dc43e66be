#pragma once
#include "platform/database.h"
#include <QDir>
#include <QString>
#include <QStringList>

// Database files of the family's other programs, made in a folder, with the tables a document is
// taken over from (amounts as scaled integers, 10000 = 1):
//  - the warehouse (mg.mdb): "WZ 12/2024", two positions stored out of order, one with empty
//    values and one with an unrounded VAT; "PZ 12/2024" with one position;
//  - the invoicing program (fa.mdb): "FV 7/05/2024" with a position and a correction row, and a
//    position of another kind under the same number;
//  - the orders program (zm.mdb): "Z/3", three positions without VAT.
struct SiblingDatabases {
    QString mg, fa, zm;

    explicit SiblingDatabases(const QString& folder)
        : mg(QDir(folder).filePath("mg.mdb")), fa(QDir(folder).filePath("fa.mdb")), zm(QDir(folder).filePath("zm.mdb"))
    {
        const QString poz = "pozycja LONG, nazwa TEXT, ilosc CURRENCY, Indjed TEXT, cenanet CURRENCY, indvat TEXT, "
                            "wartnetto CURRENCY, wartvat CURRENCY, wartbrutto CURRENCY";
        db::Database::create(mg)->executeScript(
            "CREATE TABLE mgdok (inddok TEXT, numer TEXT, Data DATETIME, nazkon TEXT, adrkon TEXT, nipkon TEXT, "
            "podstawa TEXT, "
            "wydane TEXT); CREATE TABLE mgpoz (Inddok TEXT, Numer TEXT, " +
            poz +
            ");"
            "INSERT INTO mgdok VALUES ('WZ', '12/2024', '2024-05-03', 'Jan Rolnik', 'Wola 5', '85010112345', 'Umowa "
            "7', 'mag');"
            "INSERT INTO mgdok VALUES ('PZ', '12/2024', '2024-05-04', 'Piotr Kos', 'Brzozowa 1', NULL, 'Dostawa', "
            "NULL);"
            "INSERT INTO mgpoz VALUES ('WZ', '12/2024', 5, 'Owies', 25000, 'dt', 800000, '8', 2000000, 160049, "
            "2160049);"
            "INSERT INTO mgpoz VALUES ('WZ', '12/2024', 2, 'Pszenica', NULL, 'kg', NULL, NULL, NULL, NULL, NULL);"
            "INSERT INTO mgpoz VALUES ('PZ', '12/2024', 1, 'Siano', 10000, 't', 3000000, '8', 3000000, 240000, "
            "3240000);");
        db::Database::create(fa)->executeScript(
            "CREATE TABLE fadok (Inddok TEXT, numer TEXT, Datawyst DATETIME, Datasprz DATETIME, nazkon TEXT, adrkon "
            "TEXT, "
            "nipkon TEXT, podstawa TEXT, wydane TEXT); CREATE TABLE fapoz (Inddok TEXT, Numer TEXT, Korekta BIT, " +
            poz +
            ");"
            "INSERT INTO fadok VALUES ('FV', '7/05/2024', '2024-05-06', '2024-05-02', 'Anna O''Hara', 'Lipowa 3', "
            "'5270103391', 'Zlecenie 3', 'Kwit 9');"
            "INSERT INTO fapoz VALUES ('FV', '7/05/2024', 0, 1, 'Rzepak', 15000, 't', 20000000, '7', 30000000, "
            "2100000, 32100000);"
            "INSERT INTO fapoz VALUES ('FV', '7/05/2024', 1, 2, 'Rzepak', -10000, 't', 20000000, '7', -20000000, "
            "-1400000, "
            "-21400000);"
            "INSERT INTO fapoz VALUES ('KFV', '7/05/2024', 0, 1, 'Inny', 10000, 't', 10000, '7', 10000, 700, 10700);");
        db::Database::create(zm)->executeScript(QString::fromUtf8(
            "CREATE TABLE zmdok (numer TEXT, Datawyst DATETIME, nazkon TEXT, adrkon TEXT, nipkon TEXT);"
            "CREATE TABLE zmpoz (Numer TEXT, pozycja LONG, nazwa TEXT, ilosc CURRENCY, Indjed TEXT, cenanet CURRENCY, "
            "wartnetto CURRENCY);"
            "INSERT INTO zmdok VALUES ('Z/3', '2024-04-30', 'Ewa Nowak', 'Polna 2', '7001011234');"
            "INSERT INTO zmpoz VALUES ('Z/3', 1, 'Jęczmień', 100000, 'dt', 100000, 1000000);"
            "INSERT INTO zmpoz VALUES ('Z/3', 2, 'Owies', 30000, 'dt', 33500, 100500);"
            "INSERT INTO zmpoz VALUES ('Z/3', 3, 'Bez ceny', NULL, 'dt', NULL, NULL);"));
    }

    // Takes a column out of a table, its rows and the other columns' declared types kept.
    static void dropColumn(const QString& path, const QString& table, const QString& column)
    {
        auto d = db::Database::open(path);
        QStringList kept, declared;
        for (const db::Row& c : d->query("PRAGMA table_info(" + table + ")"))
            if (c.text("name").compare(column, Qt::CaseInsensitive) != 0) {
                kept << c.text("name");
                declared << c.text("name") + ' ' + c.text("type");
            }
        d->executeScript("CREATE TABLE kept (" + declared.join(", ") + "); INSERT INTO kept SELECT " + kept.join(", ") +
                         " FROM " + table + "; DROP TABLE " + table + "; ALTER TABLE kept RENAME TO " + table + ";");
    }

    // Protects a file with a password, as its own program would.
    static void protect(const QString& path, const QString& password)
    {
        db::OpenOptions exclusive;
        exclusive.exclusive = true;
        db::Database::open(path, QString(), exclusive)->changePassword(password);
    }
};
