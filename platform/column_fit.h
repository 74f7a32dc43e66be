#pragma once
#include <QObject>
#include <vector>

class QAbstractItemView;
class QHeaderView;

// Keeps a list's columns at the widths given, but where the list's right edge would cut a column
// through its caption: that column starts at the edge instead, the one before it grown to reach
// it. Every caption the list shows before it is scrolled reads whole; the columns beyond stay a
// scroll away. Fitted again whenever the list's inner width changes.
class ColumnFit final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColumnFit)
public:
    ColumnFit(QAbstractItemView* list, QHeaderView* header);

    // The width of every column, by its index; hidden columns keep theirs.
    void setWidths(std::vector<int> widths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();

    QAbstractItemView* list_;
    QHeaderView* header_;
    std::vector<int> widths_;
};
