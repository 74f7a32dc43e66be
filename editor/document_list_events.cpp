#include "editor/document_list_events.h"
#include "core/app.h"
#include "core/background_database.h"
#include "core/base_connect.h"
#include "core/error_report.h"
#include "documents/document_list.h"
#include "documents/hand_over_text.h"
#include "editor/document_form.h"
#include "editor/entry_page.h"
#include "platform/clipboard_link.h"
#include "platform/repaint.h"
#include <QAction>
#include <QApplication>
#include <QMenu>

DocumentListEvents::DocumentListEvents(App& app, EntryPage* page, Editing editing)
    : QObject(page), app_(app), page_(page), editing_(std::move(editing))
{
    // The count of every document is read on the watch's connection: from the window's start
    // after an attach (queued meanwhile), at once for a list read again later.
    page_->lstDokRows()->countInBackground([&app](DocumentListModel::BackgroundRead read) {
        BackgroundDatabase& watch = backgroundDatabase(app);
        if (!watch.read(std::move(read))) return false;
        if (watch.started()) watch.start();
        return true;
    });
    connect(page_, &EntryPage::documentClicked, this, [this] { lstDok_Click(); });
    connect(page_, &EntryPage::documentDoubleClicked, this,
            [this] { runCommand(app_, QStringLiteral("lstDok_DblClick"), [this] { lstDok_DblClick(); }); });
    connect(page_, &EntryPage::documentPressed, this, [this](Qt::MouseButton button, const QPoint& at) {
        runCommand(app_, QStringLiteral("lstDok_MouseDown"), [&] { lstDok_MouseDown(button, at); });
    });
    connect(page_, &EntryPage::previewOptionsChanged, this, &DocumentListEvents::OdswiezPodglad);
}

void DocumentListEvents::OdswiezListeDokumentow(const QString& numer)
{
    if (!app_.gBazaOtwarta) return;
    DocumentListModel* rows = page_->lstDokRows();
    int found = -1;
    try {
        // After a save only the stored document's month is read, wherever it lies.
        if (numer.isEmpty())
            rows->refill();
        else
            found = rows->stored(numer);
    } catch (...) {
        ErrorReport(app_, QStringLiteral("OdswiezListeDokumentow"));
        return;
    }
    if (found < 0) return;
    page_->selectDocument(found);
    page_->setPreviewAvailable(true);
    lstDok_Click();
}

int DocumentListEvents::selected() const
{
    return page_->selectedDocument();
}

bool DocumentListEvents::Row::nowy() const
{
    return text == kNowyDokument;
}

std::optional<DocumentListEvents::Row> DocumentListEvents::selectedRow() const
{
    const int row = selected();
    if (row < 0) return std::nullopt;
    DocumentListModel* rows = page_->lstDokRows();
    return Row{rows->text(row), isNew(row) ? QString() : rows->numer(row)};
}

void DocumentListEvents::selectNew()
{
    if (page_->lstDokRows()->rowCount() == 0) return;
    page_->selectDocument(0);
}

bool DocumentListEvents::isNew(int row) const
{
    return page_->lstDokRows()->isNew(row);
}

void DocumentListEvents::lstDok_Click()
{
    const int row = selected();
    if (row < 0) return;  // nothing selected: the buttons stay as they are
    const bool nowy = isNew(row);
    if (page_->formShown()) {
        if (nowy) {
            page_->setPreviewAvailable(false);
            page_->toolEdycja_ButtonClick(QStringLiteral("Dokument"));
        } else {
            page_->setPreviewAvailable(true);
        }
        page_->setPrintAvailable(!nowy);
    }
    if (page_->previewShown()) {
        page_->setPrintAvailable(!nowy);
    }
}

void DocumentListEvents::lstDok_DblClick()
{
    lstDok_Click();
    const int row = selected();
    if (row < 0) return;
    if (isNew(row)) {
        page_->toolEdycja_ButtonClick(QStringLiteral("Dokument"));
        page_->picDokument()->NowyDokument();
    } else if (page_->formShown()) {
        if (app_.gBazaOtwarta && page_->lstDokRows()->rowCount() > 1)
            editing_.load(QStringLiteral("popraw"), page_->lstDokRows()->numer(row));
    } else if (page_->previewShown()) {
        page_->previewDocument(row);
    }
}

void DocumentListEvents::offerPaste(QAction* entry, bool locked)
{
    // Only a reference under the link format.
    QString refusal;
    const auto h = parseHandOver(clipboard::readLink(), &refusal);
    entry->setEnabled((h || !refusal.isEmpty()) && !locked);
    entry->setText(h ? QStringLiteral("Wklej z ") + h->nazwa() : QStringLiteral("Wklej z..."));
}

QString DocumentListEvents::selectedNumber() const
{
    const auto row = selectedRow();
    return row ? row->numer : QString();
}

void DocumentListEvents::mnuPopKarWklej_Click()
{
    const auto row = selectedRow();
    if (!row) return;
    editing_.paste(row->nowy() ? QStringLiteral("nowy") : QStringLiteral("popraw"));
}

void DocumentListEvents::lstDok_MouseDown(Qt::MouseButton button, const QPoint& pos)
{
    const int row = page_->selectDocumentAt(pos);
    if (button != Qt::RightButton || !popup_.menu || row < 0) return;
    const bool stored = !isNew(row);
    // An archive database keeps what would change or store documents off.
    const bool locked = app_.gBazaPar.BazaOdczyt;
    for (QAction* a : {popup_.drukuj, popup_.wyslij, popup_.podglad, popup_.kopiuj})
        if (a) a->setEnabled(stored);
    for (QAction* a : {popup_.popraw, popup_.zapisz, popup_.usun})
        if (a) a->setEnabled(stored && !locked);
    if (popup_.wklej) offerPaste(popup_.wklej, locked);
    popup_.menu->popup(page_->documentListToGlobal(pos));
}

void DocumentListEvents::OdswiezPodglad()
{
    if (!page_->previewShown()) return;
    if (const int row = selected(); row >= 0) page_->previewDocument(row);
    ui::repaintNow();
}

void DocumentListEvents::OdswiezDokument()
{
    if (page_->formShown()) page_->picDokument()->NowyDokument();
}
