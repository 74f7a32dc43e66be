// The document form's named fields as others know them (FormField), and the side list's place
// beside the header.
#include "editor/document_form.h"
#include "editor/position_grid.h"
#include "platform/qor_combo.h"
#include "platform/twips.h"
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeView>

QWidget* DocumentForm::control(FormField field) const
{
    switch (field) {
    case FormField::Numer: return txtNumer;
    case FormField::Datawyst: return txtDatawyst;
    case FormField::Datasprz: return txtDatasprz;
    case FormField::Kornum: return cmbKornum;
    case FormField::Nazkon: return txtNazkon;
    case FormField::Adrkon: return txtAdrkon;
    case FormField::Nipkon: return txtNipkon;
    case FormField::Nazdok: return cmbNazdok;
    case FormField::Numdok: return txtNumdok;
    case FormField::Wyddok: return txtWyddok;
    case FormField::PlatFor: return cmbPlatFor;
    case FormField::Platdni: return cmbPlatdni;
    case FormField::PlatTer: return cmbPlatTer;
    case FormField::PlatRach: return txtPlatRach;
    case FormField::TabPoz: return tabPoz;
    case FormField::Pozycje: return gridPoz;
    case FormField::PozycjeKor: return gridKor;
    case FormField::Uwagi: return txtUwagi;
    case FormField::Wystawil: return txtWystawil;
    }
    return nullptr;
}

void DocumentForm::watchFocus()
{
    for (FormField f : kFocusFields) control(f)->installEventFilter(this);
}

std::optional<FormField> DocumentForm::focusedField() const
{
    // The focus may be inside a field: a combo's line edit, a grid's cell editor.
    for (QObject* w = QApplication::focusWidget(); w; w = w->parent())
        for (FormField f : kFocusFields)
            if (w == control(f)) return f;
    return std::nullopt;
}

void DocumentForm::showBeginning(std::initializer_list<FormField> fields)
{
    for (FormField f : fields) {
        QWidget* w = control(f);
        if (auto* c = qobject_cast<QComboBox*>(w)) w = c->lineEdit();
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->setCursorPosition(0);
    }
}

QLabel* DocumentForm::placeSideList(QTreeView* list, SideListEntries entries)
{
    lstSlo = list;
    sideListEntries_ = entries;
    scale_.place(lstSlo, QRect(kSideListLeft, 210, 2580, 4725));
    picDokument_Resize();
    gridPoz->takeDropsFrom(std::move(entries), [this] { return isInvoice(); });
    return labSlownik;
}
