#pragma once
#include "editor/dictionaries.h"
#include <QAbstractTableModel>
#include <QFont>

// The side list's rows: one dictionary as it was read, shown as it is; each cell's text is made
// only when the view asks for it, so that a list of thousands of contractors is filled at once.
class DictionaryModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DictionaryModel)
public:
    explicit DictionaryModel(QObject* parent = nullptr);

    // Shows `d` in place of what was shown.
    void show(Dictionary d);
    // No columns and no rows.
    void clear();
    const Dictionary& dictionary() const { return d_; }
    // The font of the anchor's bold cells.
    void setFont(const QFont& font) { bold_ = font, bold_.setBold(true); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    Dictionary d_;
    QFont bold_;
};
