#include "core/base_par.h"
#include "support/temp_database.h"
#include <gtest/gtest.h>

TEST(BasePar, MissingKeyIsStoredWithTheFirstDefaultAndSavedValuesReplaceIt)
{
    TempDatabase t;
    EXPECT_EQ(BaseParRead(t.app, t.db(), "NumAuto", "1"), "1");
    EXPECT_EQ(BaseParRead(t.app, t.db(), "NumAuto", "0"), "1");
    EXPECT_TRUE(BaseParSave(t.app, t.db(), "NumAuto", "0"));
    EXPECT_TRUE(BaseParSave(t.app, t.db(), "Nowy'klucz", "x"));
    EXPECT_EQ(BaseParRead(t.app, t.db(), "numauto", "1"), "0");
    EXPECT_EQ(BaseParRead(t.app, t.db(), "Nowy'klucz", ""), "x");
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dbpar").toInt(), 2);
    t.db().execute("UPDATE dbpar SET Wartosc = NULL");
    EXPECT_EQ(BaseParRead(t.app, t.db(), "NumAuto", "1"), "");
}
