#include "platform/qor_combo.h"
#include "platform/app_error.h"
#include "platform/combo_rows.h"
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
    if (!changeSuppressed()) emit Change();
}

namespace {

std::vector<std::pair<QString, QString>> listItems(const QString& items)
{
    std::vector<std::pair<QString, QString>> rows;
    for (const QString& item : items.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        int semi = item.indexOf(QLatin1Char(';'));
        if (semi < 0)
            rows.emplace_back(item, item);
        else
            rows.emplace_back(item.left(semi), item.mid(semi + 1));
    }
    return rows;
}

}  // namespace

void QorCombo::Refill()
{
    fill([this] {
        std::vector<std::pair<QString, QString>> rows;
        if (rowSource_.startsWith(QLatin1String("LIST "), Qt::CaseInsensitive)) {
            rows = listItems(rowSource_.mid(5));
        } else if (!rowSource_.trimmed().isEmpty()) {
            if (!database_)
                throw AppError(err::kObjectNotSet, QStringLiteral("QorCombo"),
                               QStringLiteral("Brak otwartej bazy danych"));
            rows = comboRowsFromSql(*database_, rowSource_, params_);
        }
        return rows;
    });
}

void QorCombo::Refill(const std::vector<std::pair<QString, QString>>& rows)
{
    fill([&rows] { return rows; });
}

void QorCombo::fill(const std::function<std::vector<std::pair<QString, QString>>()>& items)
{
    QVariant kept = boundValue();
    refilling_ = true;
    clear();
    try {
        const std::vector<std::pair<QString, QString>> rows = items();
        // The empty item keeps no data, so that choosing it reads back as a null key.
        if (!emptyText_.isEmpty()) addItem(emptyText_, QVariant());
        for (const auto& [key, text] : rows) AddItem(key, text);
    } catch (...) {
        clear();
        refilling_ = false;
        throw;
    }
    setCurrentIndex(indexOfKey(kept));
    refilling_ = false;
    emitChange();
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

int QorCombo::indexOfKey(const QVariant& key) const
{
    int i = key.isNull() ? -1 : findData(key.toString());
    if (i < 0 && !emptyText_.isEmpty() && count() > 0 && (key.isNull() || key.toString().isEmpty())) i = 0;
    return i;
}

void QorCombo::setBoundValue(const QVariant& key)
{
    setCurrentIndex(indexOfKey(key));
}

void QorCombo::setText(const QString& text)
{
    int i = findText(text);
    if (i >= 0 || !isEditable())
        setCurrentIndex(i);
    else
        setEditText(text);
}

ChangeGuard::ChangeGuard(std::initializer_list<QorCombo*> combos) : combos_(combos)
{
    for (auto* c : combos_) ++c->guards_;
}

ChangeGuard::~ChangeGuard()
{
    for (auto* c : combos_) --c->guards_;
}
