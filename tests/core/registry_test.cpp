#include "core/registry.h"
#include "core/app.h"
#include "core/okno.h"
#include "core/prg_par_read.h"
#include "platform/settings_store.h"
#include "support/test_settings.h"
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

TEST(NumericValueTest, LeadingNumberRoundedHalvesToEven)
{
    auto v = [](const QString& t) { return numericValue(t, -32768, 32767); };
    EXPECT_EQ(v("2.5"), 2);
    EXPECT_EQ(v("3.5"), 4);
    EXPECT_EQ(v("-2.5"), -2);
    EXPECT_EQ(v("1.5"), 2);
    EXPECT_EQ(v("2.51"), 3);
    EXPECT_EQ(v(" 12abc"), 12);
    EXPECT_EQ(v(".5"), 0);
    EXPECT_EQ(v("abc"), 0);
    EXPECT_EQ(v(""), 0);
    EXPECT_EQ(v("max"), 0);
    EXPECT_EQ(v("32767.4"), 32767);
    EXPECT_FALSE(v("32767.5"));
    EXPECT_FALSE(v("99999"));
}

TEST(RegistryHelpers, BaseNameAndDigits)
{
    EXPECT_EQ(BaseNameFromPath("C:\\Dane\\Firma.mdb"), "Firma");
    EXPECT_EQ(BaseNameFromPath("/home/ala/Dane/Firma 2024.mdb"), "Firma 2024");
    EXPECT_EQ(BaseNameFromPath(""), "");
    EXPECT_EQ(BaseNameFromPath("C:\\a.b"), "");
    EXPECT_EQ(BaseNameFromPath("/dane/stare.mdb/ab"), "");
    EXPECT_EQ(DigitsOnly("12,5 kg"), "125");
    EXPECT_EQ(DigitsOnly("-3.50 zł"), "-3.50");
}

TEST(Registry, RegReadStoresTheDefaultOnlyInAnExistingKey)
{
    QString missing = uniqueProgramKey();
    EXPECT_EQ(RegRead(missing, "Instancje", "0"), "0");
    EXPECT_FALSE(settings::keyExists(missing));

    QString key = uniqueProgramKey();
    RegSave(key, "Wersja", "3.5.12");
    EXPECT_EQ(RegRead(key, "Instancje", "0"), "0");
    EXPECT_EQ(RegValueRead(key, "Instancje"), QString("0"));
    RegSave(key, "Instancje", "1");
    EXPECT_EQ(RegRead(key, "Instancje", "0"), "1");
}

TEST(Registry, ProgramKeyGetsVersionAndFolderAtEveryStart)
{
    App app;
    app.title = QStringLiteral("RolkwitKlucz%1").arg(QCoreApplication::applicationPid());
    app.programFolder = "/opt/rolkwit";
    RegPakietKeyCreate(app);
    RegPakietKeyOpen(app);
    EXPECT_EQ(app.gRegProgramKey, kRegFamilyKey + "\\" + app.title);
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "Wersja"), QString("3.5.12"));
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "ProgramFolder"), QString("/opt/rolkwit"));
}

TEST(SettingsCache, ReadsOnceKeepsSavesInMemoryAndWritesAllInFirstUseOrder)
{
    App app;
    useTestSettings(app);
    RegSave(app.gRegProgramKey, "DataPo", "30");
    EXPECT_EQ(RegParRead(app, "DataPo", "20"), "30");
    RegSave(app.gRegProgramKey, "DataPo", "99");  // another writer: not seen this run
    EXPECT_EQ(RegParRead(app, "DataPo", "20"), "30");
    EXPECT_EQ(RegParRead(app, "BezMAPI", "0"), "0");  // missing: default stored at once
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "BezMAPI"), QString("0"));
    RegParSave(app, "BezMAPI", "2");
    RegParSave(app, "DrukDuplikat", "0");
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "BezMAPI"), QString("0"));  // cache only
    EXPECT_FALSE(RegValueRead(app.gRegProgramKey, "DrukDuplikat"));
    EXPECT_EQ(app.gRegParNazwy, QStringList({"DataPo", "BezMAPI", "DrukDuplikat"}));

    RegParSaveAll(app);
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "DataPo"), QString("30"));  // the cached value wins
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "BezMAPI"), QString("2"));
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "DrukDuplikat"), QString("0"));
}

TEST(PrgParReadTest, FirstRunStoresEveryDefault)
{
    App app;
    useTestSettings(app);
    RegSave(app.gRegProgramKey, "Wersja", "3.5.12");
    PrgParRead(app);
    EXPECT_EQ(app.gRegParNazwy, QStringList({"BazaPlik", "BezMAPI", "EnterToTab", "DataPrzed", "DataPo", "TabPozLicz",
                                             "TabPozWiersz", "TabKorKol", "PanelAsysta", "UstawPocz", "PlatDni",
                                             "PlatForma", "PlatTermin", "DokNazwa", "Wystawil"}));
    // The stored defaults are the settings record's own.
    const PrgPar d;
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "TabKorKol"), settingText(d.TabKorKol));
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "EnterToTab"), settingText(d.EnterToTab));
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "Wystawil"), d.Wystawil);
    EXPECT_EQ(app.gPrgPar.EnterToTab, d.EnterToTab);
    EXPECT_EQ(app.gPrgPar.DataPo, d.DataPo);
    EXPECT_EQ(app.gPrgPar.TabKorKol, d.TabKorKol);
}

TEST(PrgParReadTest, ABadValueFallsBackToItsDefaultAndLaterSettingsStillRead)
{
    App app;
    useTestSettings(app);
    RegSave(app.gRegProgramKey, "BazaPlik", "/dane/Firma.mdb");
    RegSave(app.gRegProgramKey, "BezMAPI", "2.5");
    RegSave(app.gRegProgramKey, "TabPozLicz", "99999");
    RegSave(app.gRegProgramKey, "TabPozWiersz", "5");
    RegSave(app.gRegProgramKey, "EnterToTab", "tak");
    RegSave(app.gRegProgramKey, "Wystawil", "Jan Kowalski");
    PrgParRead(app);
    EXPECT_EQ(app.gPrgPar.BazaNazwa, "Firma");
    EXPECT_EQ(app.gPrgPar.BezMAPI, 2);
    EXPECT_EQ(app.gPrgPar.TabPozLicz, 3);
    EXPECT_EQ(app.gPrgPar.TabPozWiersz, 5);
    EXPECT_FALSE(app.gPrgPar.EnterToTab);
    EXPECT_EQ(app.gPrgPar.Wystawil, "Jan Kowalski");
}

class Placement : public ::testing::Test {
protected:
    App app;
    QWidget window;
    double tpp = 15;
    QSize screen;
    void SetUp() override
    {
        useTestSettings(app);
        tpp = twipsPerPixel(window);
        screen = QGuiApplication::primaryScreen()->geometry().size();
    }
    void store(const QString& left, const QString& top, const QString& width, const QString& height)
    {
        RegSave(app.gRegProgramKey, "OknoLeft", left);
        RegSave(app.gRegProgramKey, "OknoTop", top);
        RegSave(app.gRegProgramKey, "OknoWidth", width);
        RegSave(app.gRegProgramKey, "OknoHeight", height);
    }
};

TEST_F(Placement, SavedPlacementComesBackAndMaximizedStaysMaximized)
{
    window.setGeometry(40, 30, 500, 300);
    OknoSave(app, window);
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "OknoWidth"), QString::number(qint64(500 * tpp + 0.5)));
    QWidget again;
    again.setWindowState(Qt::WindowMaximized);
    OknoRead(app, again);
    EXPECT_EQ(again.windowState(), Qt::WindowNoState);
    EXPECT_EQ(again.size(), QSize(500, 300));
    EXPECT_EQ(again.pos(), QPoint(40, 30));

    window.setWindowState(Qt::WindowMaximized);
    OknoSave(app, window);
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "OknoTop"), QString("max"));
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "OknoHeight"), QString("max"));
    QWidget designed;
    designed.setWindowState(Qt::WindowMaximized);
    OknoRead(app, designed);
    EXPECT_TRUE(designed.windowState() & Qt::WindowMaximized);

    window.setWindowState(Qt::WindowMinimized);
    store("1", "2", "3", "4");
    OknoSave(app, window);  // minimized: the last placement stays
    EXPECT_EQ(RegValueRead(app.gRegProgramKey, "OknoTop"), QString("2"));
}

TEST_F(Placement, WideWindowsKeepTheirSizeAndOversizeIsClampedToTheScreen)
{
    // 2400 pixels are 36000 twips: more than a 16-bit number holds.
    store("0", "0", "36000", "6000");
    QWidget wide;
    OknoRead(app, wide);
    EXPECT_EQ(wide.width(), std::min(2400, screen.width()));

    store(QString::number(qint64(100 * tpp)), "0", QString::number(qint64((screen.width() + 300) * tpp)), "3000");
    QWidget big;
    OknoRead(app, big);
    EXPECT_EQ(big.width(), screen.width());
    EXPECT_EQ(big.x(), 0);
}

TEST_F(Placement, ZeroOrNegativeSizeKeepsTheDesignedPlacement)
{
    store("100", "100", "0", "3000");
    QWidget w;
    w.setGeometry(10, 10, 200, 100);
    w.setWindowState(Qt::WindowMaximized);
    OknoRead(app, w);
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    store("100", "100", "3000", "-20");
    OknoRead(app, w);
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
}
