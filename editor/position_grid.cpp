#include "editor/position_grid.h"
#include "core/app.h"
#include "documents/loading.h"
#include "editor/dictionaries.h"
#include "editor/drags.h"
#include "editor/position_model.h"
#include "platform/message_box.h"
#include "platform/qor_controls.h"
#include "platform/twips.h"
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QStyledItemDelegate>
#include <utility>

namespace {

// The room around a cell's text.
int cellMargin(const QWidget* w)
{
    const QStyle* style = w ? w->style() : QApplication::style();
    return 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w) + 1) + 2;
}

bool wraps(int column)
{
    return column == PositionModel::Nazwa;
}

// Editors that stop typing at the column's length. Only the name wraps: any other value stands
// on one line, in a smaller font when its column is too narrow for it.
class LimitDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (wraps(index.column())) return;
        option->features &= ~QStyleOptionViewItem::WrapText;
        option->textElideMode = Qt::ElideNone;
        option->font = fittingFont(option->font, option->text, option->rect.width() - cellMargin(option->widget));
    }
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

}  // namespace

PositionGrid::PositionGrid(App& app, PositionModel* model, bool withCommands, QWidget* parent)
    : QTableView(parent), app_(app), model_(model), withCommands_(withCommands)
{
    setModel(model);
    setItemDelegate(new LimitDelegate(this));
    setColumnHidden(PositionModel::Stanowisko, true);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setWordWrap(true);
    // A whole row in view: the columns of numbers as wide as their values and the words of their
    // captions, the name taking the rest and wrapping; captions wrap at their words.
    QHeaderView* header = horizontalHeader();
    header->setStretchLastSection(false);
    header->setTextElideMode(Qt::ElideNone);
    header->setHighlightSections(false);  // a bold caption would not fit where a regular one does
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter | Qt::Alignment(Qt::TextWordWrap));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header->setSectionResizeMode(QHeaderView::Fixed);
    setRowLines(3);
    // The columns follow the values they show.
    auto refit = [this] {
        if (fitting_) return;
        fitting_ = true;
        fitColumns();
        fitting_ = false;
    };
    connect(model, &QAbstractItemModel::dataChanged, this, refit);
    connect(model, &QAbstractItemModel::modelReset, this, refit);
    connect(model, &QAbstractItemModel::rowsInserted, this, refit);
    connect(model, &QAbstractItemModel::rowsRemoved, this, refit);

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
    if (lines < 1 || lines > 10) lines = 3;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(std::max(twips::px(lines * 210), lines * fontMetrics().lineSpacing() + 4));
}

int PositionGrid::captionWidth(int column) const
{
    const QFontMetrics fm(horizontalHeader()->font());
    int widest = 0;
    for (const QString& word : model_->headerData(column, Qt::Horizontal).toString().split(QLatin1Char(' ')))
        widest = std::max(widest, fm.horizontalAdvance(word));
    return widest;
}

void PositionGrid::fitColumns()
{
    // The widest value each column of numbers shows, and the room around a cell's text.
    const std::pair<int, const char*> values[] = {
        {PositionModel::Pozycja, "999"},        {PositionModel::Ilosc, "99999,999"},
        {PositionModel::Indjed, "szt."},        {PositionModel::Cenanet, "99 999,99"},
        {PositionModel::Indvat, "23"},          {PositionModel::WartNetto, "999 999,99"},
        {PositionModel::WartVAT, "999 999,99"}, {PositionModel::WartBrutto, "999 999,99"}};
    const int margin = cellMargin(this);
    // Each as wide as its widest value shown, while the name keeps the width of its caption's
    // widest word; a value wider still is drawn smaller.
    const int nameLeast = captionWidth(PositionModel::Nazwa) + margin;
    std::vector<int> widths, least;
    int total = nameLeast, extra = 0;
    for (const auto& [column, value] : values) {
        const int base =
            std::max(fontMetrics().horizontalAdvance(QString::fromUtf8(value)), captionWidth(column)) + margin;
        int widest = base;
        for (int r = 0; r < model_->rowCount(); ++r)
            widest =
                std::max(widest, fontMetrics().horizontalAdvance(model_->index(r, column).data().toString()) + margin);
        least.push_back(base);
        widths.push_back(widest);
        total += base;
        extra += widest - base;
    }
    // Shared out in proportion when the values do not all fit.
    const int spare = std::max(viewport()->width() - total, 0);
    int fixed = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        const int column = values[i].first;
        const int width =
            extra <= spare ? widths[i] : least[i] + int(qint64(widths[i] - least[i]) * spare / std::max(extra, 1));
        if (columnWidth(column) != width) setColumnWidth(column, width);
        fixed += width;
    }
    const int name = std::max(viewport()->width() - fixed, nameLeast);
    if (columnWidth(PositionModel::Nazwa) != name) setColumnWidth(PositionModel::Nazwa, name);
}

void PositionGrid::fitHeaderHeight()
{
    // As high as the caption that wraps into the most lines.
    QHeaderView* header = horizontalHeader();
    const QFontMetrics fm(header->font());
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    int height = fm.height();
    for (int c = 0; c < model_->columnCount(); ++c) {
        if (isColumnHidden(c)) continue;
        const QRect room(0, 0, std::max(columnWidth(c) - margin, 1), 10000);
        height = std::max(
            height, fm.boundingRect(room, Qt::TextWordWrap, model_->headerData(c, Qt::Horizontal).toString()).height());
    }
    if (header->height() != height + margin) header->setFixedHeight(height + margin);
}

void PositionGrid::updateGeometries()
{
    QTableView::updateGeometries();
    // Measured at the font the grid has where it is shown, over the room the scroll bar leaves;
    // what this changes comes back here once, and then changes nothing.
    if (fitting_) return;
    fitting_ = true;
    fitColumns();
    fitHeaderHeight();
    fitting_ = false;
}

void PositionGrid::commitData(QWidget* editor)
{
    const int before = model_->valuesTaken();
    QTableView::commitData(editor);
    valueTaken_ = model_->valuesTaken() != before;
}

void PositionGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Enter after a quantity, a price or a VAT code that was taken moves on to the next column.
    const QModelIndex edited = currentIndex();
    const bool taken = std::exchange(valueTaken_, false);
    QTableView::closeEditor(editor, hint);
    const int c = edited.column();
    if (hint == QAbstractItemDelegate::SubmitModelCache && taken &&
        (c == PositionModel::Ilosc || c == PositionModel::Cenanet || c == PositionModel::Indvat))
        setCurrentIndex(edited.siblingAtColumn(c + 1));
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
    if (withCommands_ && cur.isValid() && cur.column() == PositionModel::WartBrutto &&
        cur.row() == model_->rowCount() - 1 && !model_->readOnly() && !model_->nameLocked()) {
        mnuPopPozDodaj_Click();
        return;
    }
    QTableView::keyPressEvent(e);
}

void PositionGrid::focusInEvent(QFocusEvent* e)
{
    // Come to from the header with Tab (or Enter as Tab), the grid starts at the first row's name:
    // what is typed next is that product's name.
    if (e->reason() == Qt::TabFocusReason && model_->rowCount() > 0)
        setCurrentIndex(model_->index(0, PositionModel::Nazwa));
    QTableView::focusInEvent(e);
}

bool PositionGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (withCommands_ && model_->nameLocked() && index.isValid() &&
        (index.column() == PositionModel::Nazwa || index.column() == PositionModel::Indjed) &&
        (trigger & (DoubleClicked | AnyKeyPressed | EditKeyPressed))) {
        ui::msgBox(QString::fromUtf8("Korygując pozycje dokumentu możesz zmienić wartości w kolumnach Ilość, Cena lub "
                                     "Stawka podatku VAT na zakładce 'Winno być po korekcie'"),
                   ui::Buttons::Ok, ui::Icon::Exclamation, app_.title);
        return false;
    }
    return QTableView::edit(index, trigger, event);
}

void PositionGrid::takeDropsFrom(SideListEntries list, std::function<bool()> invoice)
{
    dropList_ = std::move(list);
    invoice_ = std::move(invoice);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

void PositionGrid::dragEnterEvent(QDragEnterEvent* e)
{
    gridPoz_DragOver(e);
}
void PositionGrid::dragMoveEvent(QDragMoveEvent* e)
{
    gridPoz_DragOver(e);
}
void PositionGrid::dragLeaveEvent(QDragLeaveEvent*) {}
void PositionGrid::dropEvent(QDropEvent* e)
{
    gridPoz_DragDrop(e);
}

void PositionGrid::gridPoz_DragOver(QDragMoveEvent* e)
{
    const bool invoice = dropList_.kind && invoice_();
    if (auto numer = draggedDocument(e->mimeData())) {
        if (invoice && !numer->isEmpty()) {
            e->setDropAction(Qt::CopyAction);
            e->accept();
        } else {
            e->ignore();
        }
        return;
    }
    if (!dropList_.kind || !isSideListDrag(e->mimeData())) {
        e->ignore();
        return;
    }
    using namespace slownik;
    const QString kind = dropList_.kind();
    if (invoice && (kind == Produkty || kind == Jednostki || kind == StawkiVAT)) {
        // The row under the pointer becomes current, so that the drop fills it; the side list
        // keeps showing what is dragged from it.
        const int row = rowAt(e->position().toPoint().y());
        if (row >= 0) {
            const bool was = std::exchange(followingDrag_, true);
            makeCurrent(row, currentIndex().isValid() ? currentIndex().column() : int(PositionModel::Nazwa));
            followingDrag_ = was;
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
    if (!dropList_.kind) {
        e->ignore();
        return;
    }
    if (auto numer = draggedDocument(e->mimeData())) {
        // Only a stored invoice's rows replace the positions; the new document's row and a
        // document deleted meanwhile leave them alone.
        if (!invoice_() || numer->isEmpty() || !isDocumentStored(app_, *numer)) {
            e->ignore();
            return;
        }
        e->accept();
        emit positionsDropped(*numer);
        return;
    }
    if (!isSideListDrag(e->mimeData())) {
        e->ignore();
        return;
    }
    e->accept();
    dropList_.apply();
}
