#pragma once
#include <QComboBox>
#include <QVariant>
#include <initializer_list>
#include <vector>

namespace db { class Database; }

// The document form's data-bound choice list: items of a key and a shown text, filled from a row
// source that is either a fixed list ("LIST FR;Faktura VAT RR|KFR;Korekta faktury VAT RR") or
// an SQL query whose first column is the key and the second the text. value() is the chosen
// key, a null QVariant when nothing is chosen. Change() fires when the choice changes, by the user
// or by the program, unless a ChangeGuard holds the list.
//
// Kept to what the document form needs; when the shared choice list of the core lands, this class
// maps onto it one to one.
class DocCombo : public QComboBox {
    Q_OBJECT
public:
    explicit DocCombo(QWidget* parent = nullptr);

    void setDatabase(db::Database* db) { db_ = db; }
    void setRowSource(const QString& source) { rowSource_ = source; }
    const QString& rowSource() const { return rowSource_; }
    // Text shown for "nothing chosen" ("(brak)" for the fund); empty means no such item.
    void setEmptyText(const QString& text) { emptyText_ = text; }

    // Rebuilds the items from the row source, keeping the chosen key when it is still there.
    // Throws AppError when the query fails.
    void Refill();
    QVariant value() const;
    void setValue(const QVariant& key);
    bool changeSuppressed() const { return suppress_ > 0; }

signals:
    void Change();

private:
    friend class ChangeGuard;
    void onIndexChanged();

    db::Database* db_ = nullptr;
    QString rowSource_;
    QString emptyText_;
    int suppress_ = 0;   // a counter, so that nested guards keep the lists quiet until the outermost ends
};

// Keeps the Change event of one or more lists quiet while the program sets them; guards nest.
class ChangeGuard {
public:
    ChangeGuard(std::initializer_list<DocCombo*> combos);
    ~ChangeGuard();
    ChangeGuard(const ChangeGuard&) = delete;
    ChangeGuard& operator=(const ChangeGuard&) = delete;

private:
    std::vector<DocCombo*> combos_;
};
