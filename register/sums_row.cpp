#include "register/sums_row.h"
#include "platform/twips.h"
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTableWidget>

using namespace twips;

namespace {

int visibleWidths(QTableView* grid)
{
    int total = 0;
    for (int i = 0; i < grid->model()->columnCount(); ++i)
        if (!grid->isColumnHidden(i)) total += grid->columnWidth(i);
    return total;
}

void scrollLeft(QTableView* grid, QTableWidget* sumGrid)
{
    grid->horizontalScrollBar()->setValue(0);
    sumGrid->horizontalScrollBar()->setValue(0);
}

}  // namespace

void GridSumLink(QTableView* grid, QWidget* box, QTableWidget* sumGrid)
{
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    sumGrid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    sumGrid->setRowCount(1);
    sumGrid->horizontalHeader()->hide();
    sumGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sumGrid->setVerticalHeaderLabels({QString()});
    sumGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sumGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sumGrid->setSelectionMode(QAbstractItemView::NoSelection);
    sumGrid->setFocusPolicy(Qt::NoFocus);
    // Sideways scrolling of either grid moves the other by the same amount.
    QObject::connect(sumGrid->horizontalScrollBar(), &QScrollBar::valueChanged, grid->horizontalScrollBar(),
                     [grid](int v) { grid->horizontalScrollBar()->setValue(v); });
    QObject::connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, sumGrid->horizontalScrollBar(),
                     [sumGrid](int v) { sumGrid->horizontalScrollBar()->setValue(v); });
    QObject::connect(grid->horizontalHeader(), &QHeaderView::sectionResized, sumGrid,
                     [grid, box, sumGrid](int column) { GridSumResize(column, grid, box, sumGrid); });
}

void GridSumActivate(bool active, QTableView* grid, QWidget* box, QTableWidget* sumGrid, int left)
{
    if (!active) {
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        box->hide();
        return;
    }
    QPalette tip = sumGrid->palette();
    tip.setColor(QPalette::Base, tip.color(QPalette::ToolTipBase));
    tip.setColor(QPalette::Text, tip.color(QPalette::ToolTipText));
    sumGrid->setPalette(tip);
    setLeft(sumGrid, left);
    // The sideways scroll bar is the sums grid's; the vertical one stays, beside the box's bar.
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const int columns = grid->model()->columnCount();
    sumGrid->setColumnCount(columns);
    sumGrid->verticalHeader()->setFixedWidth(grid->verticalHeader()->width());
    sumGrid->verticalHeader()->setDefaultSectionSize(grid->verticalHeader()->defaultSectionSize());
    for (int i = 0; i < columns; ++i) sumGrid->setColumnWidth(i, grid->isColumnHidden(i) ? 0 : grid->columnWidth(i));
    GridSumHight(grid, box, sumGrid);
    sumGrid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->value());
    box->show();
}

void GridSumResize(int colIndex, QTableView* grid, QWidget* box, QTableWidget* sumGrid)
{
    if (box->isHidden() || colIndex < 0 || colIndex >= sumGrid->columnCount()) return;
    sumGrid->setColumnWidth(colIndex, grid->isColumnHidden(colIndex) ? 0 : grid->columnWidth(colIndex));
    sumGrid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->value());
    GridSumHight(grid, box, sumGrid);
}

void GridSumHight(QTableView* grid, QWidget* box, QTableWidget* sumGrid)
{
    // The box holds the line above the sums grid, its one row and its frame; and the sums grid's
    // own scroll bar when the columns are wider than it.
    const int low = px(30) + sumGrid->verticalHeader()->defaultSectionSize() + 2 * sumGrid->frameWidth();
    const int bar = sumGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, sumGrid);
    const int room = sumGrid->width() - sumGrid->verticalHeader()->width() - 2 * sumGrid->frameWidth();
    if (room < visibleWidths(grid)) {
        sumGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->resize(box->width(), low + bar);
    } else {
        sumGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scrollLeft(grid, sumGrid);
        box->resize(box->width(), low);
    }
}

void GridSumExecute(const QStringList& texts, const std::vector<bool>& right, QTableView* grid, QTableWidget* sumGrid)
{
    const QFontMetrics fm(sumGrid->font());
    const int margin = 2 * (sumGrid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, sumGrid) + 1) + 4;
    for (int i = 0; i < sumGrid->columnCount(); ++i) {
        // The sums column follows the data column's new width.
        const int needed = texts.value(i).isEmpty() ? 0 : fm.horizontalAdvance(texts.value(i)) + margin;
        if (i < grid->model()->columnCount() && !grid->isColumnHidden(i) && grid->columnWidth(i) < needed)
            grid->setColumnWidth(i, needed);
        QTableWidgetItem* item = sumGrid->item(0, i);
        if (!item) {
            item = new QTableWidgetItem;
            sumGrid->setItem(0, i, item);
        }
        item->setText(texts.value(i));
        const bool r = size_t(i) < right.size() && right[size_t(i)];
        item->setTextAlignment((r ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
}

void pboxSuma_Resize(QWidget* box, QTableWidget* sumGrid, QWidget* scroll, QWidget* line)
{
    const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
    scroll->setGeometry(box->width() - bar, 0, bar, box->height());
    sumGrid->setGeometry(sumGrid->x(), px(30), std::max(box->width() - bar - sumGrid->x(), 0),
                         std::max(box->height() - px(30), 0));
    line->setGeometry(px(30), 0, std::max(box->width() - px(30), 0), px(30));
}
