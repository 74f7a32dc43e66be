#include "documents/document_list.h"
#include "core/app.h"
#include "documents/newest_first_cursor.h"
#include "platform/database.h"
#include "platform/date_text.h"
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace {

const QString kColumns = QStringLiteral("Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, RazNetto, RazVAT, "
                                        "RazBrutto, Wystawil");
constexpr int kValues = 12;      // the columns above and the rowid
constexpr int kIdleCount = 500;  // milliseconds after a reading before the documents are counted

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

qint64 rowidOf(const db::Row& r)
{
    return r.size() == kValues ? r.at(kValues - 1).toInt() : -1;
}

}  // namespace

// The stored documents in the list's order, after the row that stands for a new document.
class DocumentListModel::Rows : public NewestFirstCursor {
public:
    explicit Rows(App& app) : NewestFirstCursor(app, kColumns) {}

    // The first part, read before the list lets go of what it shows: a failed read leaves it.
    void readFirst() { first_ = NewestFirstCursor::next(kPart); }

    std::vector<Piece> next(int atLeast) override
    {
        if (!started_) {
            started_ = true;
            std::vector<Piece> pieces{Part{{}, {newRow()}}};
            for (Piece& p : first_) pieces.push_back(std::move(p));
            return pieces;
        }
        return NewestFirstCursor::next(atLeast);
    }
    std::vector<db::Row> reread(const QVariant& key) override
    {
        if (!key.isValid()) return {newRow()};
        return NewestFirstCursor::reread(key);
    }

private:
    static db::Row newRow() { return db::Row(std::make_shared<db::Columns>(), std::vector<db::Value>(kValues)); }

    bool started_ = false;
    std::vector<Piece> first_;
};

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
    auto rows = std::make_shared<Rows>(app_);
    if (rows_) rows->takeTotalFrom(*rows_);
    rows->readFirst();
    const qint64 version = dataVersion(*app_.gBaseDb);
    setSource(rows);
    rows_ = std::move(rows);
    dataVersion_ = version;
    // The rest is counted afterwards, so that neither the opening nor a save waits for it.
    countLater();
}

void DocumentListModel::countLater()
{
    std::weak_ptr<Rows> weak = rows_;
    // The count of every document reads every page of an index: in the background when it can.
    if (background_) {
        QPointer<DocumentListModel> self(this);
        const quint64 stores = stores_;
        auto count = [self, weak, stores, all = rows_->allCounter()](db::Database& d) -> std::function<void()> {
            const qint64 n = all(d);
            return [self, weak, stores, n] {
                if (!self || weak.lock() != self->rows_) return;
                // A document stored here meanwhile may or may not be in it.
                if (stores != self->stores_) return self->countLater();
                self->rows_->takeAll(n);
                self->countQuietly();
            };
        };
        if (background_(count)) return;
    }
    QTimer::singleShot(kIdleCount, this, [this, weak] {
        if (weak.lock() == rows_) countQuietly();
    });
}

void DocumentListModel::countQuietly()
{
    try {
        countRest();
    } catch (...) {
        // Read as the view scrolls instead.
    }
}

void DocumentListModel::countRest()
{
    if (!rows_ || !app_.gBaseDb || !rows_->readsFrom(*app_.gBaseDb)) return;
    const bool counting = !atEnd() && !rows_->allCounted();
    finish(rows_->rest());
    // The gaps between months counted from the earlier list's total take their exact counts.
    if (rows_->estimated()) recountGaps();
    // Counting every document here filled the connection's cache with pages no next step needs.
    if (counting) app_.gBaseDb->releaseCache();
}

void DocumentListModel::recountGaps()
{
    std::vector<int> at;
    std::vector<DocumentRange> gaps;
    for (int s = 0; s < int(segments().size()); ++s) {
        const Segment& g = segments()[size_t(s)];
        if (!g.gap || !g.key.canConvert<DocumentRange>()) continue;
        const DocumentRange r = g.key.value<DocumentRange>();
        if (r.month || r.end) continue;
        at.push_back(s);
        gaps.push_back(r);
    }
    const std::vector<qint64> counts = rows_->recount(gaps);
    // From the last, so that the segments before keep their places.
    for (size_t i = at.size(); i-- > 0;) {
        const Segment& g = segments()[size_t(at[i])];
        if (counts[i] == g.count) continue;
        std::vector<Piece> exact;
        if (counts[i] > 0) exact.push_back(Gap{g.key, counts[i]});
        replace(at[i], at[i] + 1, std::move(exact));
    }
}

int DocumentListModel::stored(const QString& numer)
{
    if (!app_.gBazaOtwarta || !app_.gBaseDb) return -1;
    db::Database& db = *app_.gBaseDb;
    if (!rows_ || rowCount() == 0 || !rows_->readsFrom(db) || dataVersion(db) != dataVersion_) refill();
    auto fresh = db.queryOne(QStringLiteral("SELECT %1, rowid FROM fadok WHERE Numer = ?").arg(kColumns), {numer});
    const qint64 id = fresh ? rowidOf(*fresh) : -1;
    // The row it had, if any, goes: the save deleted it. A document not shown before is taken
    // for a new one in the count of all (one replaced far from the view is found to be one
    // fewer where it was counted, when that is read).
    bool replaced = false;
    for (int s = int(segments().size()) - 1; s >= 0; --s) {
        const Segment& g = segments()[size_t(s)];
        if (!g.held) continue;
        for (int at = int(g.rows.size()) - 1; at >= 0; --at)
            if (rowidOf(g.rows[size_t(at)]) != id && sameNumber(g.rows[size_t(at)].at(Numer), numer)) {
                removeHeldRow(s, at);
                replaced = true;
            }
    }
    if (!fresh) return -1;
    const bool exact = fresh->at(Numer).toText() == numer;
    if (int r = heldRowOf(id); r >= 0) return exact ? r : -1;
    const db::Value date = fresh->at(Datawyst);
    const QString text = date.toText();
    const bool dated = listedByMonth(date);
    rows_->stored(id, dated, !replaced);
    ++stores_;
    // Where it belongs: the parts of its month, the counted months that hold its date, or below
    // the months walked so far; without a date, the end once it has been read.
    int first = -1, last = -1;
    for (int s = 0; s < int(segments().size()); ++s) {
        const QVariant& key = segments()[size_t(s)].key;
        if (!key.canConvert<DocumentRange>()) continue;
        const DocumentRange r = key.value<DocumentRange>();
        if (dated ? !r.holds(text) : !r.end) continue;
        if (first < 0) first = s;
        last = s;
    }
    if (first < 0) {
        if (dated && !rows_->walked(text))
            replace(int(segments().size()), int(segments().size()), rows_->place(text, id));
    } else if (const Segment& g = segments()[size_t(first)]; !dated) {
        reload(first);
    } else if (g.gap && !g.key.value<DocumentRange>().month) {
        replace(first, first + 1, rows_->openAt({g.key, g.count}, text, id));
    } else {
        // The parts of its month, or the dates below every month that held none.
        replace(first, last + 1, rows_->month(g.key.value<DocumentRange>(), text, id));
    }
    const int r = heldRowOf(id);
    return exact ? r : -1;
}

void DocumentListModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent)) return;
    try {
        countRest();
    } catch (...) {
        LazyQueryModel::fetchMore(parent);  // read part by part, a failure reported as the view's
    }
}

qint64 DocumentListModel::rowIdentity(const db::Row& row) const
{
    return rowidOf(row);
}

int DocumentListModel::heldRowOf(qint64 rowid) const
{
    if (rowid < 0) return -1;
    for (int s = 0; s < int(segments().size()); ++s) {
        const Segment& g = segments()[size_t(s)];
        if (!g.held) continue;
        for (size_t at = 0; at < g.rows.size() && qint64(at) < g.count; ++at)
            if (rowidOf(g.rows[at]) == rowid) return firstRow(s) + int(at);
    }
    return -1;
}

int DocumentListModel::rowOf(const QString& numer) const
{
    if (numer.isEmpty()) return -1;
    for (int s = 0; s < int(segments().size()); ++s) {
        const Segment& g = segments()[size_t(s)];
        if (!g.held || !g.key.isValid()) continue;
        for (size_t at = 0; at < g.rows.size() && qint64(at) < g.count; ++at)
            if (g.rows[at].at(Numer).toText() == numer) return firstRow(s) + int(at);
    }
    return -1;
}

bool DocumentListModel::isNew(int r) const
{
    return r == 0 && rowCount() > 0;
}

QVariant DocumentListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const int c = index.column();
    if (role == Qt::TextAlignmentRole)
        return rightAligned(c) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    if (isNew(index.row())) return c == Dokument ? kNowyDokument : QString();
    const db::Row* r = shownRow(index.row());
    if (!r || r->size() != kValues) return QString();
    switch (c) {
    case Dokument: return rowText(r->at(0).toText(), r->at(Numer).toText());
    case Datawyst:
    case Datasprz: return dateText(storedDate(r->at(c)));
    case RazNetto:
    case RazVAT:
    case RazBrutto: return amountText(r->at(c));
    default: return c < kValues - 1 ? r->at(c).toText() : QVariant();
    }
}

QVariant DocumentListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && rightAligned(section))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return LazyQueryModel::headerData(section, orientation, role);
}
