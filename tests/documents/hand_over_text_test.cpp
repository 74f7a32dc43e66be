#include "documents/hand_over_text.h"
#include <gtest/gtest.h>

TEST(HandOverText, WritesTheSixFieldsAndReadsThemBack)
{
    const HandOver h{"FR", "C:\\Dane\\Firma.mdb", "tajne", "FR", "7/05/2024"};
    const QString text = handOverText(h);
    EXPECT_EQ(text, ">Wirlan Data|FR|C:\\Dane\\Firma.mdb|tajne|FR |7/05/2024");
    const auto back = parseHandOver(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->programCode, "FR");
    EXPECT_EQ(back->databaseFile, "C:\\Dane\\Firma.mdb");
    EXPECT_EQ(back->haslo, "tajne");
    EXPECT_EQ(back->inddok, "FR ");
    EXPECT_EQ(back->kind(), "FR");
    EXPECT_EQ(back->numer, "7/05/2024");
    // The number is the rest of the line, a "|" in it included.
    EXPECT_EQ(parseHandOver(">Wirlan Data|ZM|/srv/zam.mdb||ZAM|12|A")->numer, "12|A");
}

TEST(HandOverText, WhatCannotBeCarriedOrReadIsRefused)
{
    EXPECT_TRUE(handOverText({"FR", "/srv/a|b.mdb", "", "FR", "1"}).isEmpty());
    EXPECT_TRUE(handOverText({"FR", "/srv/a.mdb", "x|y", "FR", "1"}).isEmpty());
    EXPECT_TRUE(handOverText({"FR", "/srv/a.mdb", "", "FR", ""}).isEmpty());
    EXPECT_TRUE(handOverText({"FR", "", "", "FR", "1"}).isEmpty());
    for (const char* text :
         {"", "Wirlan Data|FR|/a.mdb||FR |1", "x>Wirlan Data|FR|/a.mdb||FR |1", ">Wirlan Data|FR|/a.mdb||FR |",
          ">Wirlan Data|F|/a.mdb||FR |1", ">Wirlan Data|FR|||FR |1", ">Wirlan Data|FR|/a.mdb||FR|1",
          ">Wirlan Data|FR|/a.mdb||   |1", ">Wirlan Data|FR|/a.mdb", ">Wirlan Data|FR|/a.mdb||FR |1\nx"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseHandOver(QString::fromUtf8(text)));
    }
}

// A password holding "|" is read by every program of the family only up to its "|": the writer
// refuses it, and the reader refuses the text a sibling wrote with it, both with one message.
TEST(HandOverText, APasswordHoldingTheSeparatorIsRefusedBothWaysWithOneMessage)
{
    for (const char* haslo : {"t|x", "ta|jne", "|", "a|", "|tajne", "x|FR |1"}) {
        SCOPED_TRACE(haslo);
        QString written, read;
        EXPECT_TRUE(handOverText({"FR", "/srv/a.mdb", haslo, "FR", "7/05/2024"}, &written).isEmpty());
        const QString sibling = ">Wirlan Data|FA|/srv/a.mdb|" + QString::fromUtf8(haslo) + "|FV |7/05/2024";
        EXPECT_FALSE(parseHandOver(sibling, &read));
        EXPECT_FALSE(read.isEmpty());
        EXPECT_EQ(read, written);
    }
}
