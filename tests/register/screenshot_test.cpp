#include "editor/main_pages.h"
#include "platform/qor_combo.h"
#include "register/chart_page.h"
#include "register/register_model.h"
#include "register/register_page.h"
#include "register/services.h"
#include "register_fixture.h"
#include <QCheckBox>
#include <QDir>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

// Pictures of the register with its sums row and of the chart for a person to look at: set
// ROLKWIT_SHOTS to a folder.
TEST(RegisterScreenshots, RegisterWithSumsAndChart)
{
    const QString dir = qEnvironmentVariable("ROLKWIT_SHOTS");
    if (dir.isEmpty()) GTEST_SKIP() << "ROLKWIT_SHOTS not set";
    QDir().mkpath(dir);
    StoredDocuments s;
    MainPages pages(s.t.app);
    pages.resize(1000, 560);
    pages.show();
    attachRegister(s.t.app);
    pages.toolWprowadz_ButtonClick("Kartoteka");
    RegisterPage* page = pages.picKartoteka;
    page->cbFSumuj->setChecked(true);
    page->cbFSumuj_Click();
    page->gridKar->selectRow(1);
    page->gridKar->selectionModel()->select(page->dataKar->index(3, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    page->gridKar->selectionModel()->setCurrentIndex(page->dataKar->index(2, 6), QItemSelectionModel::NoUpdate);
    QTest::qWait(50);
    pages.grab().save(dir + "/register_sums.png");
    pages.resize(1600, 700);
    QTest::qWait(50);
    pages.grab().save(dir + "/register_sums_wide.png");
    pages.resize(1000, 560);
    pages.toolWprowadz_ButtonClick("Wykres");
    pages.picWykres->cmbWRok->setBoundValue("2024");
    pages.picWykres->cmbWRodzaj->setBoundValue("B");
    QTest::qWait(50);
    pages.grab().save(dir + "/chart_b.png");
    pages.picWykres->cmbWRodzaj->setBoundValue("N");
    QTest::qWait(50);
    pages.grab().save(dir + "/chart_n.png");
}
