#include "documents/document_list.h"
#include "core/app.h"
#include "documents/document_order.h"
#include "platform/database.h"
#include "platform/date_text.h"
#include <algorithm>
#include <utility>

namespace {

const QString kColumns = QStringLiteral("Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, RazNetto, RazVAT, "
                                        "RazBrutto, Wystawil");
constexpr int kValues = 12;  // the columns above and the rowid

bool rightAligned(int column)
{
    return column == DocumentListModel::Numer || column == DocumentListModel::RazNetto ||
           column == DocumentListModel::RazVAT || column == DocumentListModel::RazBrutto;
}

QString amountText(const db::Value& v)
{
    const OptDecimal d = v.toOptDecimal();
    return d ? d->toDisplay(2) : QString();
}

// The stored number compared as the unique index compares it: letters A to Z without case.
bool sameNumber(const db::Value& stored, const QString& numer)
{
    return !stored.isNull() && stored.toText().compare(numer, Qt::CaseInsensitive) == 0;
}

qint64 dataVersion(db::Database& db)
{
    return db.scalar(QStringLiteral("PRAGMA data_version")).toInt();
}

}  // namespace

DocumentListModel::DocumentListModel(App& app, QObject* parent) : LazyQueryModel(parent), app_(app)
{
    setObjectName(QStringLiteral("lstDokRows"));
    setHeaders({QStringLiteral("Dokument"), QStringLiteral("Numer dokumentu"), QStringLiteral("Data wystawienia"),
                QStringLiteral("Data sprzedaży"), QStringLiteral("Nazwa kontrahenta"),
                QStringLiteral("Adres kontrahenta"), QStringLiteral("NIP kontrahenta"), QStringLiteral("Wartość netto"),
                QStringLiteral("Kwota VAT"), QStringLiteral("Wartość brutto"), QStringLiteral("Wystawił")});
}

void DocumentListModel::refill()
{
    if (!app_.gBazaOtwarta || !app_.gBaseDb) return;
    auto cursor = std::make_shared<NewestFirstCursor>(app_, kColumns);
    // The first part is read before anything is replaced, so a failed read leaves the list as it was.
    std::vector<db::Row> first{db::Row(std::make_shared<db::Columns>(), std::vector<db::Value>(kValues))};
    for (db::Row& r : cursor->next(kPart)) first.push_back(std::move(r));
    const qint64 version = dataVersion(*app_.gBaseDb);
    setSource([cursor, first = std::move(first)](int atLeast) mutable {
        if (!first.empty()) return std::exchange(first, {});
        return cursor->next(atLeast);
    });
    cursor_ = std::move(cursor);
    dataVersion_ = version;
}

void DocumentListModel::stored(const QString& numer)
{
    if (!app_.gBazaOtwarta || !app_.gBaseDb) return;
    db::Database& db = *app_.gBaseDb;
    if (!cursor_ || rowCount() == 0 || !cursor_->readsFrom(db) || dataVersion(db) != dataVersion_) {
        refill();
        return;
    }
    auto fresh = db.queryOne(QStringLiteral("SELECT %1, rowid FROM fadok WHERE Numer = ?").arg(kColumns), {numer});
    // The row it had, if any, goes: the save deleted it.
    for (int r = rowCount() - 1; r > 0; --r)
        if (sameNumber(row(r).at(Numer), numer)) removeRowAt(r);
    if (!fresh) return;
    // Its place among the rows read; past their end only when the cursor will not read it.
    int lo = 1, hi = rowCount();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (rowListedBefore(row(mid), *fresh))
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo < rowCount() || cursor_->hasRead(fresh->at(Datawyst))) insertRowAt(lo, std::move(*fresh));
}

int DocumentListModel::rowOf(const QString& numer)
{
    if (numer.isEmpty()) return -1;
    int from = 1;
    do {
        for (int r = from; r < rowCount(); ++r)
            if (row(r).at(Numer).toText() == numer && !isNew(r)) return r;
        from = std::max(rowCount(), 1);
    } while (fetchNext());
    return -1;
}

bool DocumentListModel::isNew(int r) const
{
    return r >= 0 && r < rowCount() && row(r).at(kValues - 1).isNull();
}

QVariant DocumentListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const int c = index.column();
    if (role == Qt::TextAlignmentRole)
        return rightAligned(c) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    if (isNew(index.row())) return c == Dokument ? kNowyDokument : QString();
    const db::Row& r = row(index.row());
    switch (c) {
    case Dokument: return rowText(r.at(0).toText(), r.at(Numer).toText());
    case Datawyst:
    case Datasprz: return dateText(storedDate(r.at(c)));
    case RazNetto:
    case RazVAT:
    case RazBrutto: return amountText(r.at(c));
    default: return c < kValues - 1 ? r.at(c).toText() : QVariant();
    }
}

QVariant DocumentListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && rightAligned(section))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return LazyQueryModel::headerData(section, orientation, role);
}
