#include "editor/position_grid.h"
#include "core/app.h"
#include "documents/loading.h"
#include "editor/dictionaries.h"
#include "editor/drags.h"
#include "editor/position_model.h"
#include "editor/side_list.h"
#include "platform/message_box.h"
#include "platform/twips.h"
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QStyledItemDelegate>

namespace {

// Editors that stop typing at the column's length.
class LimitDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            switch (index.column()) {
            case PositionModel::Nazwa: line->setMaxLength(PositionModel::kNazwaMax); break;
            case PositionModel::Indjed: line->setMaxLength(PositionModel::kIndjedMax); break;
            case PositionModel::Indvat: line->setMaxLength(PositionModel::kIndvatMax); break;
            default: line->setAlignment(Qt::AlignRight); break;
            }
        }
        return w;
    }
};

} // namespace

PositionGrid::PositionGrid(App& app, PositionModel* model, bool withCommands, QWidget* parent)
    : QTableView(parent), app_(app), model_(model), withCommands_(withCommands)
{
    setModel(model);
    setItemDelegate(new LimitDelegate(this));
    setColumnHidden(PositionModel::Stanowisko, true);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setWordWrap(true);
    const int widths[] = {26, 150, 62, 34, 62, 44, 72, 62, 72};
    for (int c = 0; c < int(std::size(widths)); ++c) setColumnWidth(c, widths[c]);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setRowLines(3);

    mnuPopPozycja = new QMenu(QStringLiteral("Pozycja"), this);
    mnuPopPozycja->setObjectName("mnuPopPozycja");
    auto add = [&](const char* name, const char* text) {
        QAction* a = mnuPopPozycja->addAction(QString::fromUtf8(text));
        a->setObjectName(name);
        return a;
    };
    mnuPopPozWstaw = add("mnuPopPozWstaw", "Wstaw wiesz");
    mnuPopPozDodaj = add("mnuPopPozDodaj", "Dodaj wiersz");
    mnuPopPozUsun = add("mnuPopPozUsun", "Usuń wiersz");
    mnuPopPozycja->addSeparator()->setObjectName("mnuPopPozSep");
    mnuPopPozPocz = add("mnuPopPozPocz", "Ustawienia początkowe");
    connect(mnuPopPozWstaw, &QAction::triggered, this, &PositionGrid::mnuPopPozWstaw_Click);
    connect(mnuPopPozDodaj, &QAction::triggered, this, &PositionGrid::mnuPopPozDodaj_Click);
    connect(mnuPopPozUsun, &QAction::triggered, this, &PositionGrid::mnuPopPozUsun_Click);
    connect(mnuPopPozPocz, &QAction::triggered, this, &PositionGrid::mnuPopPozPocz_Click);
}

void PositionGrid::setRowLines(int lines)
{
    int tw = (lines >= 1 && lines <= 10) ? lines * 210 : 630;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(std::max(twips::px(tw), fontMetrics().height() + 4));
}

void PositionGrid::makeCurrent(int row, int column)
{
    if (row >= 0 && row < model_->rowCount()) setCurrentIndex(model_->index(row, column));
}

void PositionGrid::mnuPopPozWstaw_Click()
{
    int row = model_->PozycjaWstaw(std::max(currentIndex().row(), 0));
    makeCurrent(row, std::max(currentIndex().column(), 0));
}

void PositionGrid::mnuPopPozDodaj_Click()
{
    makeCurrent(model_->PozycjaDodaj(), 0);
}

void PositionGrid::mnuPopPozUsun_Click()
{
    if (!currentIndex().isValid()) return;
    makeCurrent(model_->PozycjaUsun(currentIndex().row()), 0);
}

QMenu* PositionGrid::preparePopup(int row)
{
    const bool korekta = model_->nameLocked();
    const bool locked = model_->readOnly();
    mnuPopPozWstaw->setEnabled(row >= 0 && !korekta && !locked);
    mnuPopPozUsun->setEnabled(row >= 0 && !korekta && !locked);
    mnuPopPozDodaj->setEnabled((row < 0 || !korekta) && !locked);
    mnuPopPozPocz->setEnabled(true);
    return mnuPopPozycja;
}

void PositionGrid::contextMenuEvent(QContextMenuEvent* e)
{
    if (!withCommands_) return;
    QModelIndex at = indexAt(viewport()->mapFromGlobal(e->globalPos()));
    if (at.isValid()) setCurrentIndex(at);
    preparePopup(at.isValid() ? at.row() : -1)->popup(e->globalPos());
}

void PositionGrid::keyPressEvent(QKeyEvent* e)
{
    // A key in the last column of the last row opens a new row, so typing can go on.
    QModelIndex cur = currentIndex();
    if (withCommands_ && cur.isValid() && cur.column() == PositionModel::WartBrutto
        && cur.row() == model_->rowCount() - 1 && !model_->readOnly() && !model_->nameLocked()) {
        mnuPopPozDodaj_Click();
        return;
    }
    QTableView::keyPressEvent(e);
}

bool PositionGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (withCommands_ && model_->nameLocked() && index.isValid()
        && (index.column() == PositionModel::Nazwa || index.column() == PositionModel::Indjed)
        && (trigger & (DoubleClicked | AnyKeyPressed | EditKeyPressed))) {
        ui::msgBox(QString::fromUtf8("Korygując pozycje dokumentu możesz zmienić wartości w kolumnach Ilość, Cena lub "
                                     "Stawka podatku VAT na zakładce 'Winno być po korekcie'"),
                   ui::Buttons::Ok, ui::Icon::Exclamation, app_.title);
        return false;
    }
    return QTableView::edit(index, trigger, event);
}

void PositionGrid::takeDropsFrom(SideList* list, std::function<bool()> invoice)
{
    dropList_ = list;
    invoice_ = std::move(invoice);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

void PositionGrid::dragEnterEvent(QDragEnterEvent* e) { gridPoz_DragOver(e); }
void PositionGrid::dragMoveEvent(QDragMoveEvent* e) { gridPoz_DragOver(e); }
void PositionGrid::dragLeaveEvent(QDragLeaveEvent*) {}
void PositionGrid::dropEvent(QDropEvent* e) { gridPoz_DragDrop(e); }

void PositionGrid::gridPoz_DragOver(QDragMoveEvent* e)
{
    const bool invoice = dropList_ && invoice_();
    if (auto numer = draggedDocument(e->mimeData())) {
        if (invoice && !numer->isEmpty()) {
            e->setDropAction(Qt::CopyAction);
            e->accept();
        } else {
            e->ignore();
        }
        return;
    }
    if (!dropList_ || !isSideListDrag(e->mimeData())) {
        e->ignore();
        return;
    }
    using namespace slownik;
    const QString& kind = dropList_->Tag();
    if (invoice && (kind == Produkty || kind == Jednostki || kind == StawkiVAT)) {
        // The row under the pointer becomes current, so that the drop fills it; the side list
        // keeps showing what is dragged from it.
        const int row = rowAt(e->position().toPoint().y());
        if (row >= 0) {
            SideListLock still(*dropList_);
            makeCurrent(row, currentIndex().isValid() ? currentIndex().column() : int(PositionModel::Nazwa));
        }
        e->setDropAction(Qt::CopyAction);
    } else {
        // Applied all the same on a drop, where its kind sends it.
        e->setDropAction(Qt::LinkAction);
    }
    e->accept();
}

void PositionGrid::gridPoz_DragDrop(QDropEvent* e)
{
    if (!dropList_) {
        e->ignore();
        return;
    }
    if (auto numer = draggedDocument(e->mimeData())) {
        // Only a stored invoice's rows replace the positions; the new document's row and a
        // document deleted meanwhile leave them alone.
        if (!invoice_() || numer->isEmpty() || !DokumentZapisany(app_, *numer)) {
            e->ignore();
            return;
        }
        e->accept();
        emit pozycjeUpuszczone(*numer);
        return;
    }
    if (!isSideListDrag(e->mimeData())) {
        e->ignore();
        return;
    }
    e->accept();
    dropList_->lstSlo_DblClick();
}
