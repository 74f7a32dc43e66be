#include "editor/dictionary_model.h"
#include "platform/model_check.h"
#include <QBrush>

namespace {

Qt::Alignment alignment(const DictionaryColumn& c)
{
    return (c.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

}  // namespace

DictionaryModel::DictionaryModel(QObject* parent) : QAbstractTableModel(parent)
{
    watchModel(this);
}

void DictionaryModel::show(Dictionary d)
{
    beginResetModel();
    d_ = std::move(d);
    endResetModel();
}

void DictionaryModel::clear()
{
    show(Dictionary{});
}

int DictionaryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : d_.rows.size();
}

int DictionaryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(d_.columns.size());
}

QVariant DictionaryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= d_.rows.columns()) return {};
    const int r = index.row(), c = index.column();
    switch (role) {
    case Qt::DisplayRole: return d_.rows.text(r, c);
    case Qt::TextAlignmentRole: return int(alignment(d_.columns[size_t(c)]));
    // A day's name and date carry its marks; its distance from the anchor stays plain.
    case Qt::FontRole: return c < 2 && d_.rows.bold(r) ? QVariant(bold_) : QVariant();
    case Qt::ForegroundRole:
        return c < 2 && d_.rows.colour(r).isValid() ? QVariant(QBrush(d_.rows.colour(r))) : QVariant();
    default: return {};
    }
}

QVariant DictionaryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    const DictionaryColumn& c = d_.columns[size_t(section)];
    if (role == Qt::DisplayRole) return c.header;
    if (role == Qt::TextAlignmentRole) return int(alignment(c));
    return {};
}
