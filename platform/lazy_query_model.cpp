#include "platform/lazy_query_model.h"
#include <QMetaObject>

LazyQueryModel::LazyQueryModel(QObject* parent) : QAbstractTableModel(parent) {}

void LazyQueryModel::setHeaders(const QStringList& headers)
{
    beginResetModel();
    headers_ = headers;
    endResetModel();
}

void LazyQueryModel::clear()
{
    beginResetModel();
    source_ = nullptr;
    rows_.clear();
    endResetModel();
}

void LazyQueryModel::setSource(Source source)
{
    clear();
    source_ = std::move(source);
    try {
        fetchNext();
    } catch (...) {
        clear();
        throw;
    }
}

bool LazyQueryModel::fetchNext()
{
    return source_ && readPart(kPart);
}

bool LazyQueryModel::readPart(int count)
{
    std::vector<db::Row> part;
    try {
        part = source_(count);
    } catch (...) {
        source_ = nullptr;
        throw;
    }
    if (part.empty())
        source_ = nullptr;
    else
        append(std::move(part));
    return source_ != nullptr;
}

void LazyQueryModel::append(std::vector<db::Row> rows)
{
    const int first = int(rows_.size());
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    rows_.reserve(rows_.size() + rows.size());
    for (db::Row& r : rows) rows_.push_back(std::move(r));
    endInsertRows();
}

void LazyQueryModel::fetchAll()
{
    while (source_ && readPart(1 << 30)) {}
}

bool LazyQueryModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && source_;
}

void LazyQueryModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid()) return;
    try {
        fetchNext();
    } catch (...) {
        std::exception_ptr error = std::current_exception();
        QMetaObject::invokeMethod(
            this, [this, error] { emit readFailed(error); }, Qt::QueuedConnection);
    }
}

void LazyQueryModel::setRow(int r, db::Row row)
{
    rows_.at(size_t(r)) = std::move(row);
    emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

void LazyQueryModel::insertRowAt(int r, db::Row row)
{
    beginInsertRows({}, r, r);
    rows_.insert(rows_.begin() + r, std::move(row));
    endInsertRows();
}

void LazyQueryModel::removeRowAt(int r)
{
    beginRemoveRows({}, r, r);
    rows_.erase(rows_.begin() + r);
    endRemoveRows();
}

int LazyQueryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int LazyQueryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(headers_.size());
}

QVariant LazyQueryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const db::Row& r = rows_[size_t(index.row())];
    return index.column() < r.size() ? cell(index.column(), r.at(index.column()), role) : QVariant();
}

QVariant LazyQueryModel::cell(int, const db::Value& value, int role) const
{
    return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(value.toText()) : QVariant();
}

QVariant LazyQueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return headers_.value(section);
    return QString();
}
