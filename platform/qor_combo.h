#pragma once
#include "platform/db_value.h"
#include <QComboBox>
#include <QString>
#include <QVariant>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace db {
class Database;
}

// A choice list that shows a text and binds a key. Its items come from a row source: a fixed
// list "LIST key;text|key;text|..." or an SQL query whose first column is the key and second
// the text (run on the database given with setDatabase, its values bound to its ?); or they are
// added one by one.
// An optional empty text ("(brak)") heads the list as the item that stands for no key.
//
// Change is quiet while the program holds the list: either eventLock is raised (callers raise
// it, write and lower it) or a ChangeGuard is alive. Guards nest, so an inner refill cannot
// wake the list before the outermost guard ends; changeSuppressed() is the one test of both.
class QorCombo final : public QComboBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QorCombo)
public:
    explicit QorCombo(QWidget* parent = nullptr);

    bool eventLock = false;
    bool changeSuppressed() const { return eventLock || guards_ > 0; }

    void setDatabase(db::Database* database) { database_ = database; }
    db::Database* database() const { return database_; }
    void setRowSource(const QString& rowSource, std::vector<db::Value> params = {})
    {
        rowSource_ = rowSource;
        params_ = std::move(params);
    }
    const QString& rowSource() const { return rowSource_; }
    // Text of the first item, which binds no key; empty means the list has no such item.
    void setEmptyText(const QString& text) { emptyText_ = text; }
    const QString& emptyText() const { return emptyText_; }

    // Rebuilds the items from the row source, keeping the chosen key when it is still there,
    // and raises one Change unless suppressed. A query error, or a query with no database, is
    // thrown to the caller (AppError) with the list left empty.
    void Refill();
    // The same with the given items (key, text) in place of the row source's.
    void Refill(const std::vector<std::pair<QString, QString>>& rows);
    void Clear();
    void AddItem(const QVariant& key, const QString& text);

    // The key of the chosen item; a null QVariant when nothing (or the empty item) is chosen.
    QVariant boundValue() const;
    // Chooses the item with that key (compared as text). A null or empty key chooses the empty
    // item if there is one; an unknown key chooses nothing.
    void setBoundValue(const QVariant& key);
    // The shown text of the chosen item; writing chooses the item with that text.
    QString text() const { return currentText(); }
    void setText(const QString& text);

signals:
    void Change();

private:
    friend class ChangeGuard;
    int indexOfKey(const QVariant& key) const;
    void fill(const std::function<std::vector<std::pair<QString, QString>>()>& rows);
    void emitChange();

    db::Database* database_ = nullptr;
    QString rowSource_;
    std::vector<db::Value> params_;  // bound to the row source's ?
    QString emptyText_;
    bool refilling_ = false;
    int guards_ = 0;
};

// Keeps the Change of one or more lists quiet while the program sets them; guards nest.
class ChangeGuard final {
public:
    ChangeGuard(std::initializer_list<QorCombo*> combos);
    ~ChangeGuard();
    ChangeGuard(const ChangeGuard&) = delete;
    ChangeGuard& operator=(const ChangeGuard&) = delete;

private:
    std::vector<QorCombo*> combos_;
};
