// The document form's header as a whole (header(), setHeader()) and field by field, each field
// written as if typed: the side list's entries and the corrected invoice's date.
#include "core/app.h"
#include "documents/payment_terms.h"
#include "editor/document_form.h"
#include "editor/position_model.h"
#include "platform/date_text.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

DocHeader DocumentForm::header() const
{
    DocHeader h;
    h.Stanowisko = app_.gStanowisko;
    h.Inddok = cmbDokument->boundValue().toString();
    h.Numer = txtNumer->text().trimmed();
    h.Datawyst = textDate(txtDatawyst->text());
    h.Datasprz = textDate(txtDatasprz->text());
    h.KorInddok = cmbKordok->boundValue().toString();
    h.KorNumer = cmbKornum->boundValue().toString();
    h.KorDatawyst = textDate(txtKorDatawyst->text());
    h.Podstawa = txtPodstawa->text();
    h.Wydane = txtWydane->text();
    h.PlatFor = cmbPlatFor->currentText();
    h.PlatDni = int(Val(cmbPlatdni->currentText()).wholeUnits());
    h.PlatTer = cmbPlatTer->currentText();
    h.Nazkon = txtNazkon->text();
    h.Adrkon = txtAdrkon->text();
    h.Nipkon = txtNipkon->text();
    h.Nazdok = cmbNazdok->currentText();
    h.Numdok = txtNumdok->text();
    h.Datadok = textDate(txtDatadok->text());
    h.Wyddok = txtWyddok->text();
    h.PlatRach = txtPlatRach->text();
    h.RazNetto = txtRazNetto->value();
    h.RazVAT = txtRazVAT->value();
    h.RazBrutto = txtRazBrutto->value();
    h.Potracenie = txtPotracenie->value();
    h.Fundusz = cmbFundusz->boundValue().isNull() ? QString() : cmbFundusz->currentText();
    h.DoZaplaty = txtDoZaplaty->value();
    h.Uwagi = txtUwagi->toPlainText();
    h.Wystawil = txtWystawil->text();
    return h;
}

void DocumentForm::setHeader(const DocHeader& h, HeaderParts parts)
{
    if (parts & DocHeader::KindPart) {
        // Nested guards: refilling the corrected number list while restoring its value must not
        // let its change run, or it would load the corrected invoice over the restored correction.
        ChangeGuard quietKind{cmbDokument};
        cmbDokument->setBoundValue(h.Inddok);
        UstawRodzajDokumentu();
        if (h.isCorrection()) {
            ChangeGuard quietNumber{cmbKornum};
            cmbKordok->setBoundValue(h.KorInddok);
            cmbKordok_Change();
            keepCorrected(h.KorNumer);
        } else {
            // An invoice corrects nothing: the hidden fields are left empty as on a new form.
            ChangeGuard quiet{cmbKordok, cmbKornum};
            cmbKordok->setBoundValue(QVariant());
            cmbKornum->setBoundValue(QVariant());
        }
        txtKorDatawyst->setText(dateText(h.KorDatawyst));
    }
    if (parts & DocHeader::NumberPart) txtNumer->setText(h.Numer);
    if (parts & DocHeader::DatesPart) {
        txtDatawyst->setText(dateText(h.Datawyst));
        txtDatasprz->setText(dateText(h.Datasprz));
    }
    if (parts & DocHeader::TextsPart) {
        txtPodstawa->setText(h.Podstawa);
        txtWydane->setText(h.Wydane);
        txtNazkon->setText(h.Nazkon);
        txtAdrkon->setText(h.Adrkon);
        txtNipkon->setText(h.Nipkon);
        cmbNazdok->setEditText(h.Nazdok);
        txtNumdok->setText(h.Numdok);
        txtDatadok->setText(dateText(h.Datadok));
        txtWyddok->setText(h.Wyddok);
        // The days before the term: a term that is a date sets the days from the issue date.
        cmbPlatFor->setEditText(h.PlatFor);
        cmbPlatdni->setEditText(h.PlatDni ? QString::number(*h.PlatDni) : QString());
        cmbPlatTer->setEditText(h.PlatTer);
        txtPlatRach->setText(h.PlatRach);
        txtUwagi->setPlainText(h.Uwagi);
        setFund(h.Fundusz);
    }
    if (parts & DocHeader::TotalsPart) {
        txtRazNetto->setValue(h.RazNetto);
        txtRazVAT->setValue(h.RazVAT);
        txtRazBrutto->setValue(h.RazBrutto);
        txtPotracenie->setValue(h.Potracenie);
        txtDoZaplaty->setValue(h.DoZaplaty);
    }
    if (parts & DocHeader::IssuerPart) txtWystawil->setText(h.Wystawil);
}

void DocumentForm::setIssueDate(const QString& text)
{
    txtDatawyst->setText(text);
    txtDatasprz->setText(text);
    // As when the field is left: the number proposed for the date's period.
    txtDatawyst_LostFocus();
}

void DocumentForm::setSaleDate(const QString& text)
{
    txtDatasprz->setText(text);
}

void DocumentForm::setPaymentForm(const QString& text)
{
    cmbPlatFor->setEditText(text);
}

void DocumentForm::setPaymentDays(const QString& text)
{
    cmbPlatdni->setEditText(text);
    cmbPlatdni_Click();
}

void DocumentForm::setPaymentTerm(const QString& text)
{
    cmbPlatTer->setEditText(text);
}

void DocumentForm::setSeller(const Seller& s)
{
    txtNazkon->setText(s.Nazkon);
    txtAdrkon->setText(s.Adrkon);
    txtNipkon->setText(s.Nipkon);
    cmbNazdok->setEditText(s.Nazdok);
    txtNumdok->setText(s.Numdok);
    txtDatadok->setText(s.Datadok);
    txtWyddok->setText(s.Wyddok);
    txtPlatRach->setText(s.PlatRach);
}

void DocumentForm::setNotes(const QString& text)
{
    txtUwagi->setPlainText(text);
}

void DocumentForm::setIssuer(const QString& text)
{
    txtWystawil->setText(text);
}

void DocumentForm::setKorDatawyst(const QDate& date)
{
    txtKorDatawyst->setText(dateText(date));
}

QString DocumentForm::kind() const
{
    return cmbDokument->boundValue().toString();
}

QDate DocumentForm::issueDate() const
{
    return textDate(txtDatawyst->text());
}
