#include "editor/document_editing.h"
#include "core/app.h"
#include "documents/hand_over_text.h"
#include "documents/loading.h"
#include "documents/save.h"
#include "documents/sibling_documents.h"
#include "editor/document_form.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include "editor/position_grid.h"
#include "editor/position_model.h"
#include "editor/side_list.h"
#include "platform/busy_pointer.h"
#include "platform/clipboard_link.h"
#include "platform/date_text.h"
#include "platform/message_box.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include "platform/repaint.h"
#include "register/services.h"
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeWidget>

DocumentEditing::DocumentEditing(App& app, EntryPage* page)
    : QObject(page), app_(app), page_(page),
      documentList_(
          new DocumentListEvents(app, page,
                                 {[this](const QString& tryb, const QString& numer) { WczytajDokument(tryb, numer); },
                                  [this](const QString& tryb) { DokumentWklej(tryb); }}))
{
    DocumentForm* form = page_->picDokument();
    connect(form, &DocumentForm::korygowanyWybrany, this, &DocumentEditing::WczytajKorygowany);
    // A stored invoice dropped on the kind combo is copied in; on the grid, its positions only.
    connect(form, &DocumentForm::documentDropped, this,
            [this](const QString& numer) { WczytajDokument("nowy", numer); });
    connect(form->positionGrid(), &PositionGrid::positionsDropped, this,
            [this](const QString& numer) { WczytajPozycje(numer, false); });
    connect(page_, &EntryPage::saveRequested, this, &DocumentEditing::toolZapisz_PoBuforze);
}

const EditState& DocumentEditing::stan() const
{
    return page_->picDokument()->editState();
}

bool DocumentEditing::WczytajDokument(const QString& tryb, const QString& numer, bool* brak)
{
    DocumentForm* f = page_->picDokument();
    auto d = ::WczytajDokument(app_, tryb, numer, f->header(), brak);
    if (!d) return false;
    ui::BusyPointer busy;
    if (tryb == kTrybPopraw) {
        f->openForEditing(d->edit, d->header);
        page_->setPreviewAvailable(true);
    } else {
        f->setHeader(d->header, d->parts);
    }
    f->showLoadedRows(d->rows);
    return true;
}

QString DocumentEditing::DokumentWklej(const QString& tryb)
{
    QString refusal;
    const auto h = parseHandOver(clipboard::readLink(), &refusal);
    if (tryb == QLatin1String("nazwa")) return h ? h->nazwa() : QString();
    if (!h) {
        if (!refusal.isEmpty()) ui::msgBox(refusal, ui::Buttons::Ok, ui::Icon::Exclamation);
        return QString();
    }
    if (tryb != QLatin1String("nowy") && tryb != kTrybPopraw) return QString();
    // This program's own documents come from the database open here, whatever file the text names.
    if (h->programCode == app_.gProgramKod) {
        bool brak = false;
        if (!WczytajDokument(tryb, h->numer, &brak) && brak)
            ui::msgBox(documentNotFoundMessage(h->nazwa()), ui::Buttons::Ok, ui::Icon::Exclamation);
        return QString();
    }
    const auto d = readFromSiblingProgram(app_, *h);
    if (!d) return QString();
    ui::BusyPointer busy;
    // The sibling's document replaces the content of the selected stored one, kept under its
    // own kind and number; when that one is gone, nothing is pasted.
    if (tryb == kTrybPopraw) {
        const QString numer = documentList_->selectedNumber();
        if (numer.isEmpty() || !WczytajDokument(kTrybPopraw, numer)) return QString();
    }
    if (const auto taken = takeOverPositions(app_, *d, page_->picDokument()->header())) display(*taken);
    return QString();
}

void DocumentEditing::display(const LoadedDocument& d)
{
    DocumentForm* f = page_->picDokument();
    f->setHeader(d.header, d.parts);
    f->showLoadedRows(d.rows);
}

void DocumentEditing::WczytajPozycje(const QString& numer, bool zKorekta)
{
    if (auto d = ::WczytajPozycje(app_, numer, zKorekta, page_->picDokument()->header())) display(*d);
}

void DocumentEditing::WczytajKorygowany(const QString& numer)
{
    auto d = ::WczytajKorygowany(app_, numer, page_->picDokument()->header());
    if (!d) return;
    ui::BusyPointer busy;
    page_->picDokument()->setKorDatawyst(d->header.KorDatawyst);
    display(*d);
}

bool DocumentEditing::ZapiszDokument()
{
    SaveResult r;
    DocumentForm* f = page_->picDokument();
    {
        ui::BusyPointer busy;
        SideListLock still(*page_->sideList());
        if (!app_.gBazaPar.BazaOdczyt && !f->bufferShownRows()) return false;
        EditState state = stan();
        state.erasedRows = f->positions()->erasedNames();
        r = ::ZapiszDokument(app_, state, [](const QString& question) {
            return ui::msgBox(question, ui::Buttons::YesNo, ui::Icon::Question, QString(), ui::Answer::No) ==
                   ui::Answer::Yes;
        });
    }
    f->positions()->keepErasedNames(r.erasedRows);
    if (!r.ok) {
        if (r.fault) {
            if (!r.fault->message.isEmpty()) ui::msgBox(r.fault->message, ui::Buttons::Ok, ui::Icon::Exclamation);
            f->showFault(*r.fault);
        }
        return false;
    }
    // The number it was stored under, which the save may have taken only now.
    DocHeader h = f->header();
    h.Numer = r.numer;
    f->setHeader(h, DocHeader::NumberAndDatesPart);
    // The side list's dictionaries now hold this document.
    page_->sideList()->afterSave();
    ui::repaintNow();
    refreshRegisterAfterSave(app_);
    return true;
}

bool DocumentEditing::saveAndStartNew()
{
    if (!ZapiszDokument()) return false;
    documentList_->OdswiezListeDokumentow(page_->picDokument()->header().Numer);
    page_->picDokument()->NowyDokument();
    return true;
}

void DocumentEditing::Zapisz()
{
    if (app_.gBazaPar.BazaOdczyt || !app_.gBazaOtwarta) return;
    if (!page_->picDokument()->ZapiszDoBufora()) return;
    saveAndStartNew();
}

void DocumentEditing::toolZapisz_PoBuforze()
{
    // Ctrl held while clicking: print the document just stored (the list now selects it).
    if (saveAndStartNew() && (QApplication::queryKeyboardModifiers() & Qt::ControlModifier))
        DokumentDrukuj(app_, page_->listedDocument());
    documentList_->lstDok_Click();
}
