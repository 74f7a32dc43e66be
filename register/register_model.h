#pragma once
#include "platform/lazy_query_model.h"
#include <memory>

class App;
class NewestFirstCursor;
struct RegisterFilter;

// The register grid's rows (dataKar): the listed documents, read a part at a time, with the
// captions and number formats of the register's columns. The paid amount is the one cell that
// takes typing: an emptied cell marks the document unpaid, a typed amount is stored at once, and
// a text that is no amount is refused, the old value kept, for the page to say so.
class RegisterModel final : public LazyQueryModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RegisterModel)
public:
    RegisterModel(App& app, QObject* parent = nullptr);

    // Lists the documents that meet `filter`, the first part read at once. Throws AppError.
    void read(const RegisterFilter& filter);

    // The stored document's rowid of a listed row.
    qint64 rowid(int row) const;
    // A column's value of a listed row.
    const db::Value& value(int row, const QString& column) const;
    // Reads a row again after it was written.
    void reread(int row);
    // Counts the listed documents not read yet, without reading them: the list then has its
    // whole length, its rows read when shown. Throws AppError.
    void countRest();

    // The view reached the last row read: the rest is counted, so that the scroll bar and the
    // keys reach the last document at once; its rows are read when they are shown.
    void fetchMore(const QModelIndex& parent) override;

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A paid amount was typed and stored: the sums and the chart follow it.
    void paidEdited();
    // A typed paid amount was no amount; nothing was stored.
    void paidRefused();

protected:
    QVariant cell(int column, const db::Value& value, int role) const override;

private:
    App& app_;
    std::shared_ptr<NewestFirstCursor> cursor_;
};
