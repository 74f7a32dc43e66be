#include "editor/doc_combo.h"
#include "core/combo_rows.h"
#include "platform/app_error.h"
#include "platform/database.h"

DocCombo::DocCombo(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, &DocCombo::onIndexChanged);
}

void DocCombo::Refill()
{
    QVariant keep = value();
    std::vector<std::pair<QString, QString>> items;
    if (rowSource_.startsWith(QLatin1String("LIST "))) {
        for (const QString& item : rowSource_.mid(5).split('|', Qt::SkipEmptyParts)) {
            int semi = item.indexOf(';');
            items.emplace_back(semi < 0 ? item : item.left(semi), semi < 0 ? item : item.mid(semi + 1));
        }
    } else if (!rowSource_.isEmpty()) {
        if (!db_) throw AppError(91, QStringLiteral("DocCombo"), QStringLiteral("Brak otwartej bazy danych"));
        items = ComboRowsFromSql(*db_, rowSource_);
    }
    {
        QSignalBlocker block(this);
        clear();
        if (!emptyText_.isEmpty()) addItem(emptyText_, QVariant());
        for (const auto& [key, text] : items) addItem(text, key);
        setCurrentIndex(-1);
    }
    setValue(keep);
}

QVariant DocCombo::value() const
{
    int i = currentIndex();
    return i < 0 ? QVariant() : itemData(i);
}

void DocCombo::setValue(const QVariant& key)
{
    int i = -1;
    if (!key.isNull() && !key.toString().isEmpty()) i = findData(key.toString());
    else if (!emptyText_.isEmpty()) i = 0;
    setCurrentIndex(i);
}

void DocCombo::onIndexChanged()
{
    if (suppress_ == 0) emit Change();
}

ChangeGuard::ChangeGuard(std::initializer_list<DocCombo*> combos) : combos_(combos)
{
    for (auto* c : combos_) ++c->suppress_;
}

ChangeGuard::~ChangeGuard()
{
    for (auto* c : combos_) --c->suppress_;
}
