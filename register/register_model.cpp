#include "register/register_model.h"
#include "core/app.h"
#include "core/error_report.h"
#include "register/register_columns.h"
#include "register/register_queries.h"

namespace {

int paidColumn()
{
    static const int c = registerColumn(QStringLiteral("Zaplacono"));
    return c;
}

}  // namespace

RegisterModel::RegisterModel(App& app, QObject* parent) : LazyQueryModel(parent), app_(app)
{
    setObjectName(QStringLiteral("dataKar"));
    setHeaders(registerCaptions());
}

qint64 RegisterModel::rowid(int row) const
{
    const db::Row& r = this->row(row);
    return r.size() > 0 ? r.at(r.size() - 1).toInt() : -1;
}

const db::Value& RegisterModel::value(int row, const QString& column) const
{
    static const db::Value none;
    const db::Row& r = this->row(row);
    const int c = registerColumn(column);
    return c >= 0 && c < r.size() ? r.at(c) : none;
}

void RegisterModel::read(const RegisterFilter& filter)
{
    cursor_.reset();
    auto cursor = std::make_shared<NewestFirstCursor>(registerCursor(app_, filter));
    setSource(cursor);
    cursor_ = std::move(cursor);
}

void RegisterModel::countRest()
{
    if (!cursor_ || !app_.gBaseDb || !cursor_->readsFrom(*app_.gBaseDb) || atEnd()) return;
    finish(cursor_->rest());
    // Counting filled the connection's cache with pages no next step needs.
    app_.gBaseDb->releaseCache();
}

void RegisterModel::fetchMore(const QModelIndex& parent)
{
    if (!parent.isValid() && cursor_ && app_.gBaseDb && cursor_->readsFrom(*app_.gBaseDb)) {
        try {
            countRest();
            return;
        } catch (...) {
            // Read part by part instead; a failure there is reported as the view's.
        }
    }
    LazyQueryModel::fetchMore(parent);
}

void RegisterModel::reread(int row)
{
    if (auto r = registerRow(*app_.gBaseDb, rowid(row))) setRow(row, std::move(*r));
}

QVariant RegisterModel::cell(int column, const db::Value& value, int role) const
{
    const RegisterColumn& c = registerColumns().at(size_t(column));
    switch (role) {
    case Qt::DisplayRole: return cellText(c, value);
    case Qt::EditRole: return generalText(c.kind, value);
    case Qt::TextAlignmentRole:
        if (c.kind == ColumnKind::Amount || c.kind == ColumnKind::Integer)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default: return {};
    }
}

Qt::ItemFlags RegisterModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = LazyQueryModel::flags(index);
    // An archive database takes no payments.
    if (index.isValid() && index.column() == paidColumn() && !app_.gBazaPar.BazaOdczyt) f |= Qt::ItemIsEditable;
    return f;
}

bool RegisterModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != paidColumn() || !app_.gBaseDb ||
        app_.gBazaPar.BazaOdczyt)
        return false;
    const QString text = value.toString().trimmed();
    OptDecimal amount;
    if (!text.isEmpty()) {
        amount = Decimal::parse(text);
        if (!amount) {
            emit paidRefused();
            return false;
        }
    }
    try {
        storePaidAmount(*app_.gBaseDb, rowid(index.row()), amount);
        reread(index.row());
    } catch (...) {
        ErrorReport(app_, QStringLiteral("gridKar_BeforeColUpdate"));
        return false;
    }
    emit paidEdited();
    return true;
}
