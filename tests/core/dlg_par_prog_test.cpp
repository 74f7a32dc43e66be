#include "core/dlg_par_prog.h"
#include "core/prg_par_read.h"
#include "core/registry.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include "support/scoped_responder.h"
#include "support/test_settings.h"
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct ProgramParameters : ::testing::Test {
    App app;
    ScopedResponder r;
    QString key;
    void SetUp() override
    {
        useTestSettings(app);
        key = app.gRegProgramKey;
        RegSave(key, "AutoZapis", "1");
        RegSave(key, "BezMAPI", "1");
        RegSave(key, "DataPrzed", "7");
        RegSave(key, "Stanowisko", "3");
        app.gStanowisko = 3;
        PrgParRead(app);
    }
    QString stored(const char* name) { return RegValueRead(key, name).value_or("<brak>"); }
};

}  // namespace

TEST_F(ProgramParameters, OpensWithTheStoredValuesAndAnulujStoresNothing)
{
    dlgParProg d(app);
    EXPECT_EQ(d.windowTitle(), "Parametry programu");
    EXPECT_EQ(d.tabPar->tabText(0), "&Ogólne");
    EXPECT_EQ(d.tabPar->tabText(1), "&Aplikacja");
    EXPECT_TRUE(d.cbZapiszWyjscie->isChecked());
    EXPECT_FALSE(d.cbInstancje->isChecked());
    EXPECT_EQ(stored("Instancje"), "0");  // a missing value is stored with its default when read
    EXPECT_EQ(d.cmbPoczta->currentText(), "Inny program pocztowy");
    EXPECT_TRUE(d.cbEnterToTab->isChecked());
    EXPECT_EQ(d.txtDataPrzed->value(), 7);
    EXPECT_EQ(d.txtDataPo->value(), 20);
    EXPECT_EQ(d.cmbStanowisko->currentText(), "3");
    d.txtDataPo->setValue(500);
    EXPECT_EQ(d.txtDataPo->value(), 100);  // at most 100 days

    d.cbZapiszWyjscie->setChecked(false);
    d.cmbPoczta->setBoundValue("2");
    d.cmbStanowisko->setCurrentText("5");
    d.cmdZamknij->click();
    RegParSaveAll(app);
    EXPECT_EQ(stored("AutoZapis"), "1");
    EXPECT_EQ(stored("BezMAPI"), "1");
    EXPECT_EQ(stored("Stanowisko"), "3");
    EXPECT_EQ(app.gPrgPar.BezMAPI, 1);
    EXPECT_TRUE(r.seen.empty());
}

TEST_F(ProgramParameters, OkStoresEverySettingAndItsMirror)
{
    dlgParProg d(app);
    d.tabPar->setCurrentIndex(1);
    d.cmbPoczta->setCurrentIndex(2);  // "Outlook"
    QTest::mouseClick(d.cbInstancje, Qt::LeftButton, {}, QPoint(5, d.cbInstancje->height() / 2));
    d.tabPar->setCurrentIndex(0);
    QTest::mouseClick(d.cbEnterToTab, Qt::LeftButton, {}, QPoint(5, d.cbEnterToTab->height() / 2));
    d.txtDataPrzed->setValue(30);
    d.cmdOk->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(r.seen.empty());  // the workstation number stayed the one in use

    // Direct values at once, cached ones through the write of the whole cache.
    const struct {
        const char* name;
        const char* value;
    } values[] = {{"AutoZapis", "1"},   {"Instancje", "1"},  {"BezMAPI", "2"}, {"EnterToTab", "0"},
                  {"PanelAsysta", "0"}, {"DataPrzed", "30"}, {"DataPo", "20"}, {"Stanowisko", "3"}};
    for (const auto& v : values) {
        SCOPED_TRACE(v.name);
        EXPECT_EQ(stored(v.name), v.value);
    }
    EXPECT_EQ(app.gPrgPar.BezMAPI, 2);
    EXPECT_FALSE(app.gPrgPar.EnterToTab);
    EXPECT_TRUE(app.gPrgPar.Instancje);
    EXPECT_EQ(app.gPrgPar.DataPrzed, 30);
    RegParSaveAll(app);  // the exit write keeps the new mail mode
    EXPECT_EQ(stored("BezMAPI"), "2");
}

TEST_F(ProgramParameters, AnotherWorkstationNumberTakesEffectAtTheNextStart)
{
    dlgParProg d(app);
    d.cmbStanowisko->setCurrentText("5");
    d.cmdOk->click();
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text, "Nowy numer stanowiska będzie obowiązywał po ponownym uruchomieniu programu. Zapisz "
                              "edytowany dokument, gdyż po zmianie stanowiska będzie niedostępny.");
    EXPECT_EQ(stored("Stanowisko"), "5");
    EXPECT_EQ(app.gStanowisko, 3);  // still the one in use
    dlgParProg again(app);          // opened again before a restart: the new number
    EXPECT_EQ(again.cmbStanowisko->currentText(), "5");
}
