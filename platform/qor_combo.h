#pragma once
#include <QComboBox>
#include <QString>
#include <QVariant>

namespace db { class Database; }

// A choice list that shows a text and binds a key. Its items come from a row source: a fixed
// list "LIST key;text|key;text|..." or an SQL query whose first column is the key and second
// the text (run on the database given with setDatabase); or they are added one by one.
// While eventLock is true, changes made by the program raise no Change.
class QorCombo : public QComboBox {
    Q_OBJECT
public:
    explicit QorCombo(QWidget* parent = nullptr);

    bool eventLock = false;

    void setDatabase(db::Database* database) { database_ = database; }
    db::Database* database() const { return database_; }
    void setRowSource(const QString& rowSource) { rowSource_ = rowSource; }
    const QString& rowSource() const { return rowSource_; }

    // Rebuilds the items from the row source, keeping the chosen key when it is still there.
    // A query error is thrown to the caller (AppError) with the list left empty.
    void Refill();
    void Clear();
    void AddItem(const QVariant& key, const QString& text);

    // The key of the chosen item; a null QVariant when nothing is chosen.
    QVariant boundValue() const;
    // Chooses the item with that key (compared as text); null or an unknown key chooses nothing.
    void setBoundValue(const QVariant& key);
    // The shown text of the chosen item; writing chooses the item with that text.
    QString text() const { return currentText(); }
    void setText(const QString& text);

signals:
    void Change();

private:
    void fillFromList(const QString& items);
    void fillFromQuery(const QString& sql);
    void emitChange();

    db::Database* database_ = nullptr;
    QString rowSource_;
    bool refilling_ = false;
};
