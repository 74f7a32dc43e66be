#include "editor/document_commands.h"
#include "core/app.h"
#include "documents/deletion.h"
#include "documents/hand_over_text.h"
#include "editor/document_editing.h"
#include "editor/document_form.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include "platform/clipboard_link.h"
#include "platform/message_box.h"
#include "register/services.h"
#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>

const QStringList& DocumentCommands::menuLabels()
{
    static const QStringList names = {"labDatasprz", "labDatawyd",  "labDatawyst",   "labDni",     "labDokum",
                                      "labDokument", "labForma",    "labKontrahent", "labKornum",  "labNumer",
                                      "labOrgan",    "labPlatnosc", "labPodstawa",   "labPoprawa", "labRach",
                                      "labSeria",    "labWydane",   "labNIP"};
    return names;
}

DocumentCommands::DocumentCommands(App& app, EntryPage* page, DocumentEditing* editing, QMenu* mnuPopDokument,
                                   QAction* mnuPopDokWklej)
    : QObject(page), app_(app), page_(page), editing_(editing), menu_(mnuPopDokument), pasteAction_(mnuPopDokWklej)
{
    // A press the captions leave alone reaches the form; the tab control's headers likewise
    // hand the right button on to the tab control.
    page_->picDokument()->installEventFilter(this);
    page_->picDokument()->positionTabs()->installEventFilter(this);
}

void DocumentCommands::mnuPopKarNowy_Click()
{
    if (page_->previewShown()) page_->toolEdycja_ButtonClick(QStringLiteral("Dokument"));
    editing_->lista()->selectNew();
    page_->picDokument()->NowyDokument();
}

void DocumentCommands::UsunDokument()
{
    DocumentListEvents* lista = editing_->lista();
    const auto row = lista->selectedRow();
    if (!row || row->nowy()) return;
    const DeleteResult r = ::UsunDokument(app_, row->numer, [](const QString& question) {
        return ui::msgBox(question, ui::Buttons::YesNo, ui::Icon::Question, QString(), ui::Answer::No) ==
               ui::Answer::Yes;
    });
    if (!r.message.isEmpty()) ui::msgBox(r.message, ui::Buttons::Ok, ui::Icon::Exclamation);
    if (!r.changed()) return;
    DocumentForm* form = page_->picDokument();
    // The deleted document may be the one being edited: what the form holds is a new document now.
    if (form->editState().poprawa() && form->editState().numer.compare(row->numer, Qt::CaseInsensitive) == 0)
        form->clearEditState();
    lista->OdswiezListeDokumentow(QString());
    if (app_.gBazaPar.NumAuto && !form->editState().poprawa()) form->proposeNumber(QDate::currentDate());
    lista->lstDok_Click();
    refreshRegisterAfterSave(app_);
}

void DocumentCommands::mnuPopKarKopiuj_Click()
{
    const auto row = editing_->lista()->selectedRow();
    if (!row || row->nowy()) return;
    QString refusal;
    const QString text = handOverText(
        {app_.gProgramKod, app_.gPrgPar.BazaPlik, app_.gBazaHaslo, row->text.left(3), row->numer}, &refusal);
    if (text.isEmpty()) {
        if (!refusal.isEmpty()) ui::msgBox(refusal, ui::Buttons::Ok, ui::Icon::Exclamation);
        return;
    }
    clipboard::writeLink(text);
}

void DocumentCommands::PokazMenuDokument(const QPoint& globalPos)
{
    DocumentListEvents::offerPaste(pasteAction_, app_.gBazaPar.BazaOdczyt);
    menu_->popup(globalPos);
}

bool DocumentCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress) return QObject::eventFilter(watched, event);
    auto* e = static_cast<QMouseEvent*>(event);
    if (e->button() != Qt::RightButton) return QObject::eventFilter(watched, event);
    DocumentForm* form = page_->picDokument();
    bool opens = false;
    if (watched == form->positionTabs()) {
        opens = true;
    } else if (watched == form) {
        // The form's background (or a bare container on it), or one of its captions.
        QWidget* at = form->childAt(e->position().toPoint());
        const QMetaObject* kind = at ? at->metaObject() : nullptr;
        opens = !at || kind == &QWidget::staticMetaObject || kind == &QFrame::staticMetaObject ||
                menuLabels().contains(at->objectName());
    }
    if (!opens) return QObject::eventFilter(watched, event);
    PokazMenuDokument(e->globalPosition().toPoint());
    return true;
}
