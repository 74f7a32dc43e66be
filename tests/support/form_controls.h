#pragma once
#include "editor/document_form.h"
#include "editor/position_grid.h"
#include "editor/position_model.h"
#include "editor/side_list.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <gtest/gtest.h>

// The document form's controls as a test finds them: by their object names, as a person finds
// them by their captions. A control that is missing fails the test.
class FormControls {
public:
    explicit FormControls(const QObject* form) : form_(form) {}

private:
    const QObject* form_;

    template <class T>
    T* find(const char* name) const
    {
        T* control = form_->findChild<T*>(QString::fromLatin1(name));
        if (!control) ADD_FAILURE() << "the form has no control " << name;
        return control;
    }

public:
    QorCombo* cmbDokument = find<QorCombo>("cmbDokument");
    QLabel* labPoprawa = find<QLabel>("labPoprawa");
    QLineEdit* txtNumer = find<QLineEdit>("txtNumer");
    QLineEdit* txtDatawyst = find<QLineEdit>("txtDatawyst");
    QLineEdit* txtDatasprz = find<QLineEdit>("txtDatasprz");
    QLabel* labKordok = find<QLabel>("labKordok");
    QorCombo* cmbKordok = find<QorCombo>("cmbKordok");
    QLabel* labKornum = find<QLabel>("labKornum");
    QorCombo* cmbKornum = find<QorCombo>("cmbKornum");
    QLineEdit* txtKorDatawyst = find<QLineEdit>("txtKorDatawyst");
    QLabel* labPodstawa = find<QLabel>("labPodstawa");
    QLineEdit* txtPodstawa = find<QLineEdit>("txtPodstawa");
    QLabel* labWydane = find<QLabel>("labWydane");
    QLineEdit* txtWydane = find<QLineEdit>("txtWydane");
    QLineEdit* txtNazkon = find<QLineEdit>("txtNazkon");
    QLineEdit* txtAdrkon = find<QLineEdit>("txtAdrkon");
    QLineEdit* txtNipkon = find<QLineEdit>("txtNipkon");
    QComboBox* cmbNazdok = find<QComboBox>("cmbNazdok");
    QLineEdit* txtNumdok = find<QLineEdit>("txtNumdok");
    QLineEdit* txtDatadok = find<QLineEdit>("txtDatadok");
    QLineEdit* txtWyddok = find<QLineEdit>("txtWyddok");
    QComboBox* cmbPlatFor = find<QComboBox>("cmbPlatFor");
    QComboBox* cmbPlatdni = find<QComboBox>("cmbPlatdni");
    QComboBox* cmbPlatTer = find<QComboBox>("cmbPlatTer");
    QLineEdit* txtPlatRach = find<QLineEdit>("txtPlatRach");
    QTabWidget* tabPoz = find<QTabWidget>("tabPoz");
    PositionModel* dataPoz = find<PositionModel>("dataPoz");
    PositionModel* dataKor = find<PositionModel>("dataKor");
    PositionGrid* gridPoz = find<PositionGrid>("gridPoz");
    PositionGrid* gridKor = find<PositionGrid>("gridKor");
    QPlainTextEdit* txtUwagi = find<QPlainTextEdit>("txtUwagi");
    QLabel* labWystawil = find<QLabel>("labWystawil");
    QLineEdit* txtWystawil = find<QLineEdit>("txtWystawil");
    QLabel* labRazNetto = find<QLabel>("labRazNetto");
    QLabel* labRazVAT = find<QLabel>("labRazVAT");
    QLabel* labRazBrutto = find<QLabel>("labRazBrutto");
    QorNumber* txtRazNetto = find<QorNumber>("txtRazNetto");
    QorNumber* txtRazVAT = find<QorNumber>("txtRazVAT");
    QorNumber* txtRazBrutto = find<QorNumber>("txtRazBrutto");
    QLabel* labPotracenie = find<QLabel>("labPotracenie");
    QorCombo* cmbFundusz = find<QorCombo>("cmbFundusz");
    QLabel* labKwotapot = find<QLabel>("labKwotapot");
    QorNumber* txtPotracenie = find<QorNumber>("txtPotracenie");
    QLabel* labDoZaplaty = find<QLabel>("labDoZaplaty");
    QorNumber* txtDoZaplaty = find<QorNumber>("txtDoZaplaty");
    QLabel* labSlownik = find<QLabel>("labSlownik");
    SideList* lstSlo = find<SideList>("lstSlo");
};

inline FormControls controls(const QObject* form)
{
    return FormControls(form);
}
