#pragma once
#include "platform/database.h"
#include <QAbstractTableModel>
#include <QStringList>
#include <exception>
#include <functional>
#include <vector>

// A table of database rows that reads them a part at a time: the first part when its source is
// set, the next ones as the view scrolls to the end (canFetchMore / fetchMore) or when every row
// is asked for. Rows already read stay as they were read until the source is set again, or
// until one row is replaced after it was written. The shown columns are the first
// columnCount() values of each row; a row may carry more (a key, for example).
class LazyQueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Gives the next rows in order, at least `atLeast` of them unless the end comes first; an
    // empty part ends the reading. Throws what the database throws.
    using Source = std::function<std::vector<db::Row>(int atLeast)>;

    explicit LazyQueryModel(QObject* parent = nullptr);

    void setHeaders(const QStringList& headers);
    // Replaces the rows with those of `source` and reads its first part at once; an error of
    // that read is thrown to the caller, with the model left empty.
    void setSource(Source source);
    // No rows and no source (the database is being closed).
    void clear();
    // Reads every remaining row; an error is thrown to the caller, the rows read so far kept.
    void fetchAll();
    // Reads the next part; false at the end. An error is thrown to the caller and ends the reading.
    bool fetchNext();
    bool atEnd() const { return !source_; }

    const db::Row& row(int r) const { return rows_.at(size_t(r)); }
    void setRow(int r, db::Row row);
    // One row put in or taken out of the rows read, where it now belongs.
    void insertRowAt(int r, db::Row row);
    void removeRowAt(int r);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    // The view's request for more rows. It cannot take an error, so a failed read ends the
    // reading and is handed on through readFailed after the view's step is over.
    void fetchMore(const QModelIndex& parent) override;

    // Rows read per part when the view asks for more.
    static constexpr int kPart = 200;

signals:
    void readFailed(std::exception_ptr error);

protected:
    // What the view shows of one value in `role`: the value's text unless a subclass formats
    // its columns.
    virtual QVariant cell(int column, const db::Value& value, int role) const;

private:
    // Reads up to `count` more rows; the source is dropped at its end or when it fails (the
    // failure is handed on). True while it may give more.
    bool readPart(int count);
    void append(std::vector<db::Row> rows);

    QStringList headers_;
    Source source_;
    std::vector<db::Row> rows_;
};
