#include "platform/qor_combo.h"
#include "platform/database.h"
#include <QSignalBlocker>

QorCombo::QorCombo(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!refilling_) emitChange();
    });
}

void QorCombo::emitChange()
{
    if (!eventLock) emit Change();
}

void QorCombo::Refill()
{
    QVariant kept = boundValue();
    refilling_ = true;
    clear();
    try {
        if (rowSource_.startsWith(QLatin1String("LIST "), Qt::CaseInsensitive))
            fillFromList(rowSource_.mid(5));
        else if (!rowSource_.trimmed().isEmpty())
            fillFromQuery(rowSource_);
    } catch (...) {
        clear();
        refilling_ = false;
        throw;
    }
    int i = kept.isNull() ? -1 : findData(kept.toString());
    setCurrentIndex(i);
    refilling_ = false;
    emitChange();
}

void QorCombo::fillFromList(const QString& items)
{
    for (const QString& item : items.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        int semi = item.indexOf(QLatin1Char(';'));
        if (semi < 0) AddItem(item, item);
        else AddItem(item.left(semi), item.mid(semi + 1));
    }
}

// The SQL row source: first column the key, second the shown text (the key again when the
// query has one column).
void QorCombo::fillFromQuery(const QString& sql)
{
    if (!database_) return;
    database_->forEach(sql, {}, [this](const db::Row& row) {
        QString key = row.at(0).toText();
        AddItem(key, row.size() > 1 ? row.at(1).toText() : key);
    });
}

void QorCombo::Clear()
{
    clear();
}

void QorCombo::AddItem(const QVariant& key, const QString& text)
{
    if (count() == 0) {
        // A list that gets its first item chooses nothing until told to.
        QSignalBlocker block(this);
        addItem(text, key.toString());
        setCurrentIndex(-1);
        return;
    }
    addItem(text, key.toString());
}

QVariant QorCombo::boundValue() const
{
    int i = currentIndex();
    if (i < 0) return QVariant();
    return itemData(i);
}

void QorCombo::setBoundValue(const QVariant& key)
{
    setCurrentIndex(key.isNull() ? -1 : findData(key.toString()));
}

void QorCombo::setText(const QString& text)
{
    int i = findText(text);
    if (i >= 0 || !isEditable()) setCurrentIndex(i);
    else setEditText(text);
}
