#include "support/temp_database.h"
#include <QMap>
#include <gtest/gtest.h>

// The template holds exactly the tables and columns the program works with.
TEST(Template, TablesAndColumnsAreExactlyThoseOfTheProgram)
{
    const QString header = "Stanowisko Inddok Numer Datawyst Datasprz KorInddok KorNumer KorDatawyst Podstawa Wydane "
                           "Nazkon Adrkon Nipkon Nazdok Numdok Wyddok Datadok RazNetto RazVAT RazBrutto Potracenie "
                           "DoZaplaty PlatFor PlatDni PlatTer PlatRach Wystawil Uwagi Fundusz Zaplacono";
    const QString position =
        "Stanowisko Inddok Numer Pozycja Korekta Nazwa Ilosc Indjed Cenanet Indvat WartNetto WartVAT WartBrutto";
    const QMap<QString, QString> expected = {{"fadok", header},
                                             {"dodok", header},
                                             {"fapoz", position},
                                             {"dopoz", position},
                                             {"dokor", position},
                                             {"dbprg", "Indprg Nazwa VerMajor VerMinor VerRevision"},
                                             {"dbpar", "Indpar Wartosc"},
                                             {"dbbin", "Indpar Wartosc"},
                                             {"dboso", "Indoso Imie Nazwisko Haslo Aktywny Admin"},
                                             {"dbupr", "Indoso Indprg Poziom"}};
    TempDatabase t;
    QStringList tables;
    for (auto& r : t.db().query("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"))
        tables << r.text("name");
    EXPECT_EQ(tables, QStringList(expected.keys()));
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        QStringList columns;
        for (auto& r : t.db().query(QStringLiteral("PRAGMA table_info(%1)").arg(it.key()))) columns << r.text("name");
        EXPECT_EQ(columns.join(' '), it.value()) << it.key().toStdString();
    }
    auto fr = t.db().query("SELECT * FROM dbprg");
    ASSERT_EQ(fr.size(), 1u);
    EXPECT_EQ(fr[0].text("Indprg"), "FR");
    EXPECT_EQ(QStringLiteral("%1.%2.%3").arg(fr[0].text("VerMajor"), fr[0].text("VerMinor"), fr[0].text("VerRevision")),
              "3.5.12");
    for (auto table : {"fadok", "dodok", "fapoz", "dopoz", "dokor", "dbpar", "dbbin"})
        EXPECT_EQ(t.db().scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt(), 0) << table;
    EXPECT_EQ(t.db().scalar("PRAGMA journal_mode").toText(), "delete");
}
