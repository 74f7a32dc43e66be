#pragma once
#include "platform/database.h"
#include "platform/decimal.h"
#include <QDate>
#include <QDir>
#include <QString>

// Database files of the family's other programs, made in a folder, each with the tables a
// document is taken over from and a few documents:
//  - the warehouse (mg.mdb): "WZ 12/2024" with two positions stored out of order, one with
//    empty values and one with an unrounded VAT value, and "PZ 12/2024" with one position;
//  - the invoicing program (fa.mdb): "FV 7/05/2024" with a position and a correction row, and a
//    position of another kind under the same number;
//  - the orders program (zm.mdb): "Z/3" with three positions without VAT.
struct SiblingDatabases {
    QString mg, fa, zm;

    explicit SiblingDatabases(const QString& folder)
        : mg(QDir(folder).filePath(QStringLiteral("mg.mdb"))), fa(QDir(folder).filePath(QStringLiteral("fa.mdb"))),
          zm(QDir(folder).filePath(QStringLiteral("zm.mdb")))
    {
        const QString poz = QStringLiteral("pozycja LONG, nazwa TEXT, ilosc CURRENCY, Indjed TEXT, cenanet CURRENCY, "
                                           "indvat TEXT, wartnetto CURRENCY, wartvat CURRENCY, wartbrutto CURRENCY");
        const QString columns = QStringLiteral("pozycja, nazwa, ilosc, Indjed, cenanet, indvat, wartnetto, wartvat, wartbrutto");
        {
            auto db = db::Database::create(mg);
            db->executeScript(QStringLiteral("CREATE TABLE mgdok (inddok TEXT, numer TEXT, Data DATETIME, nazkon TEXT, "
                                             "adrkon TEXT, nipkon TEXT, podstawa TEXT, wydane TEXT);"
                                             "CREATE TABLE mgpoz (Inddok TEXT, Numer TEXT, %1);")
                                  .arg(poz));
            db->execute(QStringLiteral("INSERT INTO mgdok VALUES ('WZ', '12/2024', ?, 'Jan Rolnik', 'Wola 5', '85010112345', "
                                       "'Umowa 7', 'magazyn')"),
                        {QDate(2024, 5, 3)});
            db->execute(QStringLiteral("INSERT INTO mgdok VALUES ('PZ', '12/2024', ?, 'Piotr Kos', 'Brzozowa 1', NULL, "
                                       "'Dostawa', NULL)"),
                        {QDate(2024, 5, 4)});
            const QString ins = QStringLiteral("INSERT INTO mgpoz (Inddok, Numer, %1) VALUES (?,?,?,?,?,?,?,?,?,?,?)").arg(columns);
            db->execute(ins, {"WZ", "12/2024", 5, "Owies", dec("2,5"), "dt", dec("80"), "8", dec("200"), dec("16,0049"),
                              dec("216,0049")});
            db->execute(ins, {"WZ", "12/2024", 2, "Pszenica", db::Value(), "kg", db::Value(), db::Value(), db::Value(),
                              db::Value(), db::Value()});
            db->execute(ins, {"PZ", "12/2024", 1, "Siano", dec("1"), "t", dec("300"), "8", dec("300"), dec("24"), dec("324")});
        }
        {
            auto db = db::Database::create(fa);
            db->executeScript(QStringLiteral("CREATE TABLE fadok (Inddok TEXT, numer TEXT, Datawyst DATETIME, Datasprz DATETIME, "
                                             "nazkon TEXT, adrkon TEXT, nipkon TEXT, podstawa TEXT, wydane TEXT);"
                                             "CREATE TABLE fapoz (Inddok TEXT, Numer TEXT, Korekta BIT, %1);")
                                  .arg(poz));
            db->execute(QStringLiteral("INSERT INTO fadok VALUES ('FV', '7/05/2024', ?, ?, 'Anna O''Hara', 'Lipowa 3', "
                                       "'5270103391', 'Zlecenie 3', 'Kwit 9')"),
                        {QDate(2024, 5, 6), QDate(2024, 5, 2)});
            const QString ins = QStringLiteral("INSERT INTO fapoz (Inddok, Numer, Korekta, %1) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)").arg(columns);
            db->execute(ins, {"FV", "7/05/2024", false, 1, "Rzepak", dec("1,5"), "t", dec("2000"), "7", dec("3000"), dec("210"),
                              dec("3210")});
            db->execute(ins, {"FV", "7/05/2024", true, 2, "Rzepak", dec("-1"), "t", dec("2000"), "7", dec("-2000"),
                              dec("-140"), dec("-2140")});
            db->execute(ins, {"KFV", "7/05/2024", false, 1, "Inny", dec("1"), "t", dec("1"), "7", dec("1"), dec("0,07"),
                              dec("1,07")});
        }
        {
            auto db = db::Database::create(zm);
            db->executeScript(QStringLiteral(
                "CREATE TABLE zmdok (numer TEXT, Datawyst DATETIME, nazkon TEXT, adrkon TEXT, nipkon TEXT);"
                "CREATE TABLE zmpoz (Numer TEXT, pozycja LONG, nazwa TEXT, ilosc CURRENCY, Indjed TEXT, cenanet CURRENCY, "
                "wartnetto CURRENCY);"));
            db->execute(QStringLiteral("INSERT INTO zmdok VALUES ('Z/3', ?, 'Ewa Nowak', 'Polna 2', '7001011234')"),
                        {QDate(2024, 4, 30)});
            const QString ins = QStringLiteral("INSERT INTO zmpoz VALUES ('Z/3', ?, ?, ?, 'dt', ?, ?)");
            db->execute(ins, {1, QString::fromUtf8("Jęczmień"), dec("10"), dec("10"), dec("100")});
            db->execute(ins, {2, "Owies", dec("3"), dec("3,35"), dec("10,05")});
            db->execute(ins, {3, "Bez ceny", db::Value(), db::Value(), db::Value()});
        }
    }

    static Decimal dec(const char* text) { return *Decimal::parse(QString::fromUtf8(text)); }

    // Protects a file with a password, as its own program would.
    static void protect(const QString& path, const QString& password)
    {
        db::OpenOptions exclusive;
        exclusive.exclusive = true;
        db::Database::open(path, QString(), exclusive)->changePassword(password);
    }
};
