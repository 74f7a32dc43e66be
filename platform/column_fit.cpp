#include "platform/column_fit.h"
#include <QAbstractItemView>
#include <QEvent>
#include <QHeaderView>

ColumnFit::ColumnFit(QAbstractItemView* list, QHeaderView* header) : QObject(list), list_(list), header_(header)
{
    list_->viewport()->installEventFilter(this);
}

void ColumnFit::setWidths(std::vector<int> widths)
{
    widths_ = std::move(widths);
    fit();
}

bool ColumnFit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_->viewport() && event->type() == QEvent::Resize) fit();
    return false;
}

void ColumnFit::fit()
{
    const int columns = std::min(header_->count(), int(widths_.size()));
    for (int c = 0; c < columns; ++c)
        if (!header_->isSectionHidden(c)) header_->resizeSection(c, widths_[size_t(c)]);
    const int edge = list_->viewport()->width();
    int at = 0, before = -1;
    for (int v = 0; v < header_->count(); ++v) {
        const int c = header_->logicalIndex(v);
        if (header_->isSectionHidden(c)) continue;
        const int width = header_->sectionSize(c);
        if (at + width > edge) {
            // The edge falls inside this column: its caption whole in what is left, or the column
            // pushed past the edge.
            if (before >= 0 && at < edge && edge - at < header_->sectionSizeHint(c))
                header_->resizeSection(before, header_->sectionSize(before) + edge - at);
            return;
        }
        at += width;
        before = c;
    }
}
