#include "editor/document_list_view.h"
#include "platform/busy_pointer.h"

QModelIndex DocumentListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // A table moves along the row on Home and End; a list goes to its ends.
    if (action != MoveHome && action != MoveEnd) return QTableView::moveCursor(action, modifiers);
    QAbstractItemModel* rows = model();
    if (!rows) return {};
    if (action == MoveEnd && rows->canFetchMore(rootIndex())) {
        ui::BusyPointer busy;
        // A failed read ends the reading; the model reports it, and End goes to the last row read.
        while (rows->canFetchMore(rootIndex())) rows->fetchMore(rootIndex());
    }
    const int count = rows->rowCount(rootIndex());
    if (count == 0) return {};
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    return rows->index(action == MoveHome ? 0 : count - 1, column, rootIndex());
}
