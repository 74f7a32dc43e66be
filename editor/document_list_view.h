#pragma once
#include <QTableView>

// The document list (lstDok) moves like a list, whatever column is current: Home and End go to
// the first and the last document, Page Up and Page Down a page of rows up and down. End reads
// the rest of the list first, so that it reaches the oldest document.
class DocumentListView final : public QTableView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DocumentListView)
public:
    using QTableView::QTableView;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
};
