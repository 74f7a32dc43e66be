#pragma once
#include "platform/qor_combo.h"
#include "support/document_fixture.h"
#include "support/editing_window.h"
#include "support/form_controls.h"
#include <QApplication>
#include <QLabel>

// The entry page as the layout tests check it and the screenshot tool shows it: a stored invoice
// opened for editing with long texts, and a correction of it.

// Stores invoice 7/04/2024 to be opened or corrected and empties the buffer; false when the save failed.
inline bool storeInvoiceToCorrect(EditingWindow& w)
{
    bufferDocument(w.t.app, invoiceHeader("7/04/2024", QDate(2024, 4, 2)), {{"Pszenica", "100", "kg", "0,95", "7"}});
    if (!saveBuffered(w.t.app).ok) return false;
    bufferNewDocument(w.t.app, false);
    return true;
}

// The stored invoice opened for editing ("[Poprawa]" shows), with long texts and three positions;
// false when it did not open.
inline bool openInvoiceWithLongTexts(EditingWindow& w)
{
    w.doubleClickRow(1);
    DocumentForm* form = w.form;
    if (!controls(form).labPoprawa->isVisible()) return false;
    controls(form).txtNazkon->setText(QString::fromUtf8("Gospodarstwo Rolne Jan Kowalski"));
    controls(form).txtAdrkon->setText(QString::fromUtf8("Łąkowa 1, 32-650 Kęty"));
    controls(form).txtNipkon->setText("84010112345");
    controls(form).cmbNazdok->setEditText(QString::fromUtf8("Dowód osobisty"));
    controls(form).cmbPlatTer->setEditText("od dnia dostarczenia towaru");
    const char* rows[][4] = {{"Pszenica konsumpcyjna kl. I, wilgotność 14 %", "12345,67", "2,50", "7"},
                             {"Żyto paszowe", "800", "0,95", "7"},
                             {"Rzepak", "1,005", "1", "zw"}};
    while (controls(form).dataPoz->rowCount() < 3) controls(form).dataPoz->PozycjaDodaj();
    for (int r = 0; r < 3; ++r) {
        controls(form).dataPoz->setData(controls(form).dataPoz->index(r, PositionModel::Nazwa),
                                        QString::fromUtf8(rows[r][0]));
        controls(form).dataPoz->setData(controls(form).dataPoz->index(r, PositionModel::Ilosc), rows[r][1]);
        controls(form).dataPoz->setData(controls(form).dataPoz->index(r, PositionModel::Cenanet), rows[r][2]);
        controls(form).dataPoz->setData(controls(form).dataPoz->index(r, PositionModel::Indvat), rows[r][3]);
    }
    // The longest fund's name.
    controls(form).cmbFundusz->setCurrentIndex(
        controls(form).cmbFundusz->findText(QString::fromUtf8("Fundusz Promocji Ziarna Zbóż i Przetworów Zbożowych")));
    return true;
}

// A correction of the stored invoice, its quantity lowered.
inline void correctStoredInvoice(EditingWindow& w)
{
    DocumentForm* form = w.form;
    controls(form).cmbDokument->setBoundValue("KFR");
    controls(form).cmbKordok->setBoundValue("FR");
    controls(form).cmbKornum->setCurrentIndex(controls(form).cmbKornum->findData("7/04/2024"));
    QApplication::processEvents();
    controls(form).dataPoz->setData(controls(form).dataPoz->index(0, PositionModel::Ilosc), "80");
}
