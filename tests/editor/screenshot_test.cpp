#include "core/base_par.h"
#include "platform/qor_combo.h"
#include "editor/document_form.h"
#include "editor/entry_page.h"
#include "editor/main_pages.h"
#include "editor/position_model.h"
#include "support/temp_database.h"
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

// Pictures of the working area for a person to look at: set ROLKWIT_SHOTS to a folder.
TEST(Screenshots, CompactAndLargeWithAnInvoiceAndACorrection)
{
    const QString dir = qEnvironmentVariable("ROLKWIT_SHOTS");
    if (dir.isEmpty()) GTEST_SKIP() << "ROLKWIT_SHOTS not set";
    QDir().mkpath(dir);
    TempDatabase t;
    BaseParSave(t.app, t.db(), "DokNaglowek1", "Skup");
    t.db().execute("INSERT INTO fadok (Inddok, Numer, Datawyst) VALUES ('FR', '1/04/2024', '2024-04-02')");
    MainPages pages(t.app);
    pages.Form_Load();
    pages.resize(1000, 560);
    pages.show();
    pages.Przylacz();
    DocumentForm* f = pages.picWprowadzanie->picDokument;
    f->txtNazkon->setText("Jan Kowalski");
    f->txtAdrkon->setText(QString::fromUtf8("Łąkowa 1, 32-650 Kęty"));
    f->txtNipkon->setText("84010112345");
    const char* rows[][4] = {{"Pszenica konsumpcyjna kl. I", "12345,67", "2,50", "7"},
                             {"Żyto paszowe", "800", "0,95", "7"},
                             {"Rzepak", "1,005", "1", "zw"}};
    for (int r = 0; r < 3; ++r) {
        f->dataPoz->setData(f->dataPoz->index(r, PositionModel::Nazwa), QString::fromUtf8(rows[r][0]));
        f->dataPoz->setData(f->dataPoz->index(r, PositionModel::Ilosc), rows[r][1]);
        f->dataPoz->setData(f->dataPoz->index(r, PositionModel::Cenanet), rows[r][2]);
        f->dataPoz->setData(f->dataPoz->index(r, PositionModel::Indvat), rows[r][3]);
    }
    f->cmbFundusz->setCurrentIndex(6);
    QTest::qWait(50);
    pages.grab().save(dir + "/compact_invoice.png");
    pages.resize(1280, 860);
    QTest::qWait(50);
    pages.grab().save(dir + "/large_invoice.png");
    f->cmbDokument->setBoundValue("KFR");
    f->txtNazkon->setText("Jan Kowalski");
    QTest::qWait(50);
    pages.grab().save(dir + "/large_correction.png");
    pages.resize(1000, 560);
    QTest::qWait(50);
    pages.grab().save(dir + "/compact_correction.png");
}
