#include "editor/document_list_events.h"
#include "core/app.h"
#include "core/error_report.h"
#include "documents/document_list.h"
#include "documents/hand_over_text.h"
#include "platform/clipboard_link.h"
#include "platform/date_text.h"
#include "editor/document_editing.h"
#include "editor/document_form.h"
#include "editor/drags.h"
#include "editor/entry_page.h"
#include "platform/twips.h"
#include "register/preview_panel.h"
#include "register/services.h"
#include "platform/repaint.h"
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>

namespace {

QString amount(const OptDecimal& v)
{
    return v ? v->toDisplay(2) : QString();
}

bool rightAligned(int column)
{
    return column == 1 || column == 7 || column == 8 || column == 9;
}

// A row of a stored document. Its texts are made when asked for (the view asks only for the rows
// it shows), so a refill of a long list builds no text it does not need. Texts set on the item
// itself still win.
class DocumentItem : public QTreeWidgetItem {
public:
    explicit DocumentItem(DocumentListRow row) : row_(std::move(row)) {}

    QVariant data(int column, int role) const override
    {
        QVariant v = QTreeWidgetItem::data(column, role);
        if (v.isValid()) return v;
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            switch (column) {
            case 0: return row_.text();
            case 1: return row_.Numer;
            case 2: return dateText(row_.Datawyst);
            case 3: return dateText(row_.Datasprz);
            case 4: return row_.Nazkon;
            case 5: return row_.Adrkon;
            case 6: return row_.Nipkon;
            case 7: return amount(row_.RazNetto);
            case 8: return amount(row_.RazVAT);
            case 9: return amount(row_.RazBrutto);
            case 10: return row_.Wystawil;
            default: break;
            }
        } else if (role == Qt::TextAlignmentRole && rightAligned(column)) {
            return int(Qt::AlignRight | Qt::AlignVCenter);
        }
        return v;
    }

private:
    DocumentListRow row_;
};

} // namespace

DocumentListEvents::DocumentListEvents(App& app, EntryPage* page, DocumentEditing* editing)
    : QObject(page), app_(app), page_(page), editing_(editing)
{
    QTreeWidget* lst = page_->lstDok;
    lst->setSelectionMode(QAbstractItemView::SingleSelection);
    lst->setUniformRowHeights(true);
    lst->setAllColumnsShowFocus(true);
    const int widths[] = {1600, 1200, 1000, 0, 2500, 2500, 1200, 1200, 1200, 1200, 1440};
    for (int c = 0; c < 11; ++c) {
        lst->setColumnWidth(c, twips::px(widths[c]));
        lst->setColumnHidden(c, widths[c] == 0);
    }
    for (int c : {1, 7, 8, 9}) lst->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    lst->viewport()->installEventFilter(this);
    connect(lst, &QTreeWidget::itemClicked, this, [this] { lstDok_Click(); });
    connect(page_->picPodglad, &PreviewPanel::opcjaZmieniona, this, &DocumentListEvents::OdswiezPodglad);
}

void DocumentListEvents::OdswiezListeDokumentow(const QString& numer)
{
    if (!app_.gBazaOtwarta) return;
    QList<QTreeWidgetItem*> items;
    int found = -1;
    try {
        std::vector<DocumentListRow> rows = ListaDokumentow(app_);
        items.reserve(qsizetype(rows.size()) + 1);
        items << new QTreeWidgetItem(QStringList{kNowyDokument});
        for (DocumentListRow& r : rows) {
            if (found < 0 && !numer.isEmpty() && r.Numer == numer) found = int(items.size());
            items << new DocumentItem(std::move(r));
        }
    } catch (...) {
        qDeleteAll(items);
        ErrorReport(app_, QStringLiteral("OdswiezListeDokumentow"));
        return;
    }
    // The rows are replaced in one step, without a repaint and without sorting in between.
    QTreeWidget* lst = page_->lstDok;
    const bool sorting = lst->isSortingEnabled();
    lst->setSortingEnabled(false);
    lst->setUpdatesEnabled(false);
    lst->clear();
    lst->insertTopLevelItems(0, items);
    lst->setSortingEnabled(sorting);
    lst->setUpdatesEnabled(true);
    if (found < 0) return;
    QTreeWidgetItem* it = lst->topLevelItem(found);
    lst->setCurrentItem(it);
    lst->scrollToItem(it);
    page_->toolEdycjaPodglad->setEnabled(true);
    lstDok_Click();
}

bool DocumentListEvents::formShown() const
{
    return !page_->picDokument->isHidden();
}

bool DocumentListEvents::previewShown() const
{
    return !page_->picPodglad->isHidden();
}

QTreeWidgetItem* DocumentListEvents::selected() const
{
    QTreeWidgetItem* it = page_->lstDok->currentItem();
    return it && it->isSelected() ? it : nullptr;
}

bool DocumentListEvents::isNew(const QTreeWidgetItem* row)
{
    return row->text(0) == kNowyDokument;
}

void DocumentListEvents::lstDok_Click()
{
    QTreeWidgetItem* row = selected();
    if (!row) return;  // nothing selected: the buttons stay as they are
    const bool nowy = isNew(row);
    if (formShown()) {
        if (nowy) {
            page_->toolEdycjaPodglad->setEnabled(false);
            page_->toolEdycja_ButtonClick(QStringLiteral("Dokument"));
        } else {
            page_->toolEdycjaPodglad->setEnabled(true);
        }
        page_->toolZapiszDrukuj->setEnabled(!nowy);
        page_->toolZapiszWyslij->setEnabled(!nowy);
    }
    if (previewShown()) {
        page_->toolZapiszDrukuj->setEnabled(!nowy);
        page_->toolZapiszWyslij->setEnabled(!nowy);
    }
}

void DocumentListEvents::lstDok_DblClick()
{
    lstDok_Click();
    QTreeWidgetItem* row = selected();
    if (!row) return;
    if (isNew(row)) {
        page_->toolEdycja_ButtonClick(QStringLiteral("Dokument"));
        page_->picDokument->NowyDokument();
    } else if (formShown()) {
        if (app_.gBazaOtwarta && page_->lstDok->topLevelItemCount() > 1)
            editing_->WczytajDokument(QStringLiteral("popraw"), row->text(1));
    } else if (previewShown()) {
        preview(row);
    }
}

void DocumentListEvents::preview(QTreeWidgetItem* row)
{
    // The preview is not repainted until the report is in place.
    page_->picPodglad->setUpdatesEnabled(false);
    ReportPrint(app_, QStringLiteral("podglad"), QStringLiteral("FANET"), QStringLiteral("rapFANET1"), row->text(0),
                {row->text(0), row->text(1)});
    page_->picPodglad->setUpdatesEnabled(true);
}

QString DocumentListEvents::schowekDokument()
{
    // The paste is offered only for a well-formed reference under the link format.
    const auto h = parseHandOver(clipboard::readLink());
    return h ? h->nazwa() : QString();
}

QString DocumentListEvents::wybranyNumer() const
{
    QTreeWidgetItem* row = selected();
    return row && !isNew(row) ? row->text(1) : QString();
}

void DocumentListEvents::mnuPopKarWklej_Click()
{
    QTreeWidgetItem* row = selected();
    if (!row) return;
    editing_->DokumentWklej(isNew(row) ? QStringLiteral("nowy") : QStringLiteral("popraw"));
}

void DocumentListEvents::lstDok_MouseDown(Qt::MouseButton button, const QPoint& pos)
{
    QTreeWidget* lst = page_->lstDok;
    QTreeWidgetItem* row = lst->itemAt(pos);
    if (row) lst->setCurrentItem(row);
    else lst->clearSelection();
    if (button != Qt::RightButton || !popup_.menu || !row) return;
    const bool stored = !isNew(row);
    // An archive database keeps what would change or store documents off.
    const bool locked = app_.gBazaPar.BazaOdczyt;
    for (QAction* a : {popup_.drukuj, popup_.wyslij, popup_.podglad, popup_.kopiuj})
        if (a) a->setEnabled(stored);
    for (QAction* a : {popup_.popraw, popup_.zapisz, popup_.usun})
        if (a) a->setEnabled(stored && !locked);
    if (popup_.wklej) {
        const QString offered = schowekDokument();
        popup_.wklej->setEnabled(!offered.isEmpty() && !locked);
        popup_.wklej->setText(offered.isEmpty() ? QStringLiteral("Wklej z...") : QStringLiteral("Wklej z ") + offered);
    }
    popup_.menu->popup(lst->viewport()->mapToGlobal(pos));
}

bool DocumentListEvents::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == page_->lstDok->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // After the list has handled the click itself.
        QTimer::singleShot(0, this, [this] {
            try {
                lstDok_DblClick();
            } catch (...) {
            }
        });
    } else if (watched == page_->lstDok->viewport() && event->type() == QEvent::MouseMove) {
        // A drag of the selected document, by its number, onto the form.
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->buttons() != Qt::NoButton) {
            if (QTreeWidgetItem* row = selected(); row && dragStarts(e->buttons(), pressedAt_, e->position().toPoint()))
                runDrag(page_->lstDok, documentDragData(row->text(1)));
            return true;
        }
    } else if (watched == page_->lstDok->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* e = static_cast<QMouseEvent*>(event);
        pressedAt_ = e->position().toPoint();
        try {
            lstDok_MouseDown(e->button(), e->position().toPoint());
        } catch (...) {
        }
    }
    return QObject::eventFilter(watched, event);
}

void DocumentListEvents::OdswiezPodglad()
{
    if (!previewShown()) return;
    if (QTreeWidgetItem* row = selected()) preview(row);
    ui::repaintNow();
}

void DocumentListEvents::OdswiezDokument()
{
    if (formShown()) page_->picDokument->NowyDokument();
}
