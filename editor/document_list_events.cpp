#include "editor/document_list_events.h"
#include "core/app.h"
#include "core/background_database.h"
#include "core/base_connect.h"
#include "core/error_report.h"
#include "documents/document_list.h"
#include "documents/hand_over_text.h"
#include "editor/document_form.h"
#include "editor/drags.h"
#include "editor/entry_page.h"
#include "platform/clipboard_link.h"
#include "platform/column_fit.h"
#include "platform/repaint.h"
#include "platform/twips.h"
#include "register/preview_panel.h"
#include "register/services.h"
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>
#include <QTimer>

DocumentListEvents::DocumentListEvents(App& app, EntryPage* page, Editing editing)
    : QObject(page), app_(app), page_(page), editing_(std::move(editing))
{
    QTableView* lst = page_->lstDok();
    lst->setSelectionMode(QAbstractItemView::SingleSelection);
    lst->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A list of one-line rows, all of one height, so that years of documents cost nothing to lay out.
    lst->setShowGrid(false);
    lst->setWordWrap(false);
    lst->verticalHeader()->hide();
    lst->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lst->verticalHeader()->setDefaultSectionSize(lst->fontMetrics().height() + 4);
    lst->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lst->horizontalHeader()->setHighlightSections(false);
    const int drawn[] = {1600, 1200, 1000, 0, 2500, 2500, 1200, 1200, 1200, 1200, 1440};
    std::vector<int> widths;
    for (int c = 0; c < 11; ++c) {
        // As drawn, grown with the form, and never narrower than the column's caption.
        widths.push_back(
            std::max(page_->picDokument()->scale().px(drawn[c]), lst->horizontalHeader()->sectionSizeHint(c)));
        lst->setColumnHidden(c, drawn[c] == 0);
    }
    (new ColumnFit(lst, lst->horizontalHeader()))->setWidths(std::move(widths));
    lst->viewport()->installEventFilter(this);
    // The count of every document is read on the watch's connection: from the window's start
    // after an attach (queued meanwhile), at once for a list read again later.
    page_->lstDokRows()->countInBackground([&app](DocumentListModel::BackgroundRead read) {
        BackgroundDatabase& watch = backgroundDatabase(app);
        if (!watch.read(std::move(read))) return false;
        if (watch.started()) watch.start();
        return true;
    });
    connect(lst, &QTableView::clicked, this, [this] { lstDok_Click(); });
    connect(page_->picPodglad(), &PreviewPanel::opcjaZmieniona, this, &DocumentListEvents::OdswiezPodglad);
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
    QTableView* lst = page_->lstDok();
    lst->setCurrentIndex(rows->index(found, 0));
    lst->scrollTo(lst->currentIndex());
    page_->toolEdycjaPodglad()->setEnabled(true);
    lstDok_Click();
}

int DocumentListEvents::selected() const
{
    const QModelIndex i = page_->lstDok()->currentIndex();
    return i.isValid() && page_->lstDok()->selectionModel()->isRowSelected(i.row(), {}) ? i.row() : -1;
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
    QTableView* lst = page_->lstDok();
    if (page_->lstDokRows()->rowCount() == 0) return;
    const QModelIndex first = page_->lstDokRows()->index(0, 0);
    lst->setCurrentIndex(first);
    lst->scrollTo(first);
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
            page_->toolEdycjaPodglad()->setEnabled(false);
            page_->toolEdycja_ButtonClick(QStringLiteral("Dokument"));
        } else {
            page_->toolEdycjaPodglad()->setEnabled(true);
        }
        page_->toolZapiszDrukuj()->setEnabled(!nowy);
        page_->toolZapiszWyslij()->setEnabled(!nowy);
    }
    if (page_->previewShown()) {
        page_->toolZapiszDrukuj()->setEnabled(!nowy);
        page_->toolZapiszWyslij()->setEnabled(!nowy);
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
        preview(row);
    }
}

void DocumentListEvents::preview(int row)
{
    // The preview is not repainted until the report is in place.
    page_->picPodglad()->setUpdatesEnabled(false);
    const QString text = page_->lstDokRows()->text(row);
    ReportPrint(app_, QStringLiteral("podglad"), QStringLiteral("FANET"), QStringLiteral("rapFANET1"), text,
                {text, page_->lstDokRows()->numer(row)});
    page_->picPodglad()->setUpdatesEnabled(true);
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
    QTableView* lst = page_->lstDok();
    const QModelIndex at = lst->indexAt(pos);
    if (at.isValid())
        lst->setCurrentIndex(at.siblingAtColumn(0));
    else
        lst->clearSelection();
    const int row = at.isValid() ? at.row() : -1;
    if (button != Qt::RightButton || !popup_.menu || row < 0) return;
    const bool stored = !isNew(row);
    // An archive database keeps what would change or store documents off.
    const bool locked = app_.gBazaPar.BazaOdczyt;
    for (QAction* a : {popup_.drukuj, popup_.wyslij, popup_.podglad, popup_.kopiuj})
        if (a) a->setEnabled(stored);
    for (QAction* a : {popup_.popraw, popup_.zapisz, popup_.usun})
        if (a) a->setEnabled(stored && !locked);
    if (popup_.wklej) offerPaste(popup_.wklej, locked);
    popup_.menu->popup(lst->viewport()->mapToGlobal(pos));
}

bool DocumentListEvents::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == page_->lstDok()->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // After the list has handled the click itself.
        QTimer::singleShot(
            0, this, [this] { runCommand(app_, QStringLiteral("lstDok_DblClick"), [this] { lstDok_DblClick(); }); });
    } else if (watched == page_->lstDok()->viewport() && event->type() == QEvent::MouseMove) {
        // A drag of the selected document, by its number, onto the form.
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->buttons() != Qt::NoButton) {
            if (const int row = selected(); row >= 0 && dragStarts(e->buttons(), pressedAt_, e->position().toPoint()))
                runDrag(page_->lstDok(), documentDragData(page_->lstDokRows()->numer(row)));
            return true;
        }
    } else if (watched == page_->lstDok()->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* e = static_cast<QMouseEvent*>(event);
        pressedAt_ = e->position().toPoint();
        runCommand(app_, QStringLiteral("lstDok_MouseDown"),
                   [&] { lstDok_MouseDown(e->button(), e->position().toPoint()); });
    }
    return QObject::eventFilter(watched, event);
}

void DocumentListEvents::OdswiezPodglad()
{
    if (!page_->previewShown()) return;
    if (const int row = selected(); row >= 0) preview(row);
    ui::repaintNow();
}

void DocumentListEvents::OdswiezDokument()
{
    if (page_->formShown()) page_->picDokument()->NowyDokument();
}
