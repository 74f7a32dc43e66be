#include "platform/lazy_query_model.h"
#include "platform/model_check.h"
#include <QMetaObject>
#include <algorithm>
#include <optional>
#include <unordered_set>
#include <utility>

namespace {

// The rows changing for as long as this lives (the signals of a change and what answers them).
struct Changing {
    int& depth;
    explicit Changing(int& d) : depth(d) { ++depth; }
    ~Changing() { --depth; }
};

}  // namespace

LazyQueryModel::LazyQueryModel(QObject* parent) : QAbstractTableModel(parent)
{
    watchModel(this);
}

void LazyQueryModel::setHeaders(const QStringList& headers)
{
    beginResetModel();
    headers_ = headers;
    endResetModel();
}

void LazyQueryModel::clear()
{
    beginResetModel();
    source_.reset();
    open_ = false;
    segments_.clear();
    starts_.clear();
    movedToEnd_ = 0;
    endResetModel();
}

void LazyQueryModel::setSource(std::shared_ptr<Source> source)
{
    clear();
    source_ = std::move(source);
    open_ = source_ != nullptr;
    try {
        fetchNext();
    } catch (...) {
        clear();
        throw;
    }
}

LazyQueryModel::Segment LazyQueryModel::segment(Piece piece) const
{
    Segment s;
    if (auto* part = std::get_if<Part>(&piece)) {
        s.key = std::move(part->key);
        s.rows = std::move(part->rows);
        s.count = qint64(s.rows.size());
        s.held = true;
        s.used = tick_;
    } else {
        auto& gap = std::get<Gap>(piece);
        s.key = std::move(gap.key);
        s.count = gap.count;
        s.gap = true;
    }
    return s;
}

void LazyQueryModel::reindex()
{
    starts_.resize(segments_.size());
    qint64 at = 0;
    for (size_t i = 0; i < segments_.size(); ++i) {
        starts_[i] = at;
        at += segments_[i].count;
    }
}

int LazyQueryModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || segments_.empty()) return 0;
    return int(starts_.back() + segments_.back().count);
}

int LazyQueryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(headers_.size());
}

int LazyQueryModel::firstRow(int s) const
{
    return int(starts_.at(size_t(s)));
}

int LazyQueryModel::segmentOf(int r) const
{
    // The last segment starting at or before the row that shows rows (empty ones are skipped).
    auto it = std::upper_bound(starts_.begin(), starts_.end(), qint64(r));
    int s = int(it - starts_.begin()) - 1;
    while (s > 0 && segments_[size_t(s)].count == 0) --s;
    return s;
}

qint64 LazyQueryModel::heldRows() const
{
    qint64 n = 0;
    for (const Segment& s : segments_)
        if (s.held) n += qint64(s.rows.size());
    return n;
}

bool LazyQueryModel::fetchNext()
{
    return open_ && readPart(kPart);
}

bool LazyQueryModel::readPart(int count)
{
    std::vector<Piece> pieces;
    try {
        pieces = source_->next(count);
    } catch (...) {
        open_ = false;
        throw;
    }
    if (pieces.empty()) {
        open_ = false;
        settle(false);  // the end is there: the rows moved to it join it
    } else {
        append(std::move(pieces));
    }
    settleLater();
    return open_;
}

void LazyQueryModel::append(std::vector<Piece> pieces)
{
    const Changing changing(changing_);
    const int first = rowCount();
    qint64 added = 0;
    std::vector<Segment> fresh;
    for (Piece& p : pieces) {
        fresh.push_back(segment(std::move(p)));
        added += fresh.back().count;
    }
    if (added > 0) beginInsertRows({}, first, first + int(added) - 1);
    for (Segment& s : fresh) segments_.push_back(std::move(s));
    reindex();
    if (added > 0) endInsertRows();
}

void LazyQueryModel::fetchAll()
{
    // Part after part, those read before let go as it goes: the rows held stay bounded.
    while (open_ && readPart(kPart * 25)) settle(true);
    for (size_t s = 0; s < segments_.size(); ++s)
        if (segments_[s].gap) {
            load(int(s));
            settle(true);
        }
}

bool LazyQueryModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && open_ && changing_ == 0;
}

void LazyQueryModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent)) return;
    try {
        fetchNext();
    } catch (...) {
        failLater(std::current_exception());
    }
}

void LazyQueryModel::failLater(std::exception_ptr error) const
{
    auto* self = const_cast<LazyQueryModel*>(this);
    QMetaObject::invokeMethod(
        self, [self, error] { emit self->readFailed(error); }, Qt::QueuedConnection);
}

void LazyQueryModel::settleLater() const
{
    if (settling_) return;
    settling_ = true;
    auto* self = const_cast<LazyQueryModel*>(this);
    QMetaObject::invokeMethod(
        self,
        [self] {
            self->settling_ = false;
            self->settle(true);
        },
        Qt::QueuedConnection);
}

void LazyQueryModel::load(int s, qint64 offset)
{
    loadQuietly(s, offset);
    settle(false);
}

void LazyQueryModel::reload(int s)
{
    Segment& g = segments_.at(size_t(s));
    if (g.gap) return;
    g.held = false;
    std::vector<db::Row>().swap(g.rows);
    load(s);
}

void LazyQueryModel::loadQuietly(int s, qint64 offset) const
{
    Segment& g = segments_.at(size_t(s));
    // Opening a gap puts other segments in its place: not while rows are being put in or taken
    // out, where a view's read must find the list as the change announced it (the rows there show
    // empty until the change is over).
    if (g.held || !source_ || (g.gap && changing_ > 0)) return;
    if (!g.gap) {
        g.rows = source_->reread(g.key);
        g.held = true;
        g.used = tick_;
    } else {
        std::vector<Segment> fresh;
        qint64 total = 0;
        for (Piece& p : source_->open(Gap{g.key, g.count}, offset)) {
            fresh.push_back(segment(std::move(p)));
            total += fresh.back().count;
        }
        // Until the list is brought up to date, the pieces show as many rows as the gap did:
        // the part read takes the difference (rows beyond its count wait, missing ones show
        // empty), or the pieces before it give up rows when it has none to give.
        qint64 diff = g.count - total;
        auto part = std::find_if(fresh.begin(), fresh.end(), [](const Segment& f) { return f.held; });
        if (part != fresh.end()) {
            const qint64 take = std::max(diff, -part->count);
            part->count += take;
            diff -= take;
        }
        for (auto it = fresh.rbegin(); it != fresh.rend() && diff < 0; ++it) {
            const qint64 take = std::min(it->count, -diff);
            it->count -= take;
            diff += take;
        }
        if (diff > 0 && !fresh.empty()) fresh.back().count += diff;  // nothing read: shown empty until settled
        segments_.erase(segments_.begin() + s);
        segments_.insert(segments_.begin() + s, std::make_move_iterator(fresh.begin()),
                         std::make_move_iterator(fresh.end()));
        const_cast<LazyQueryModel*>(this)->reindex();
    }
    movedToEnd_ += source_->takeMovedToEnd();
    settleLater();
}

void LazyQueryModel::settle(bool release)
{
    const Changing changing(changing_);
    // Each held part shows the rows it holds.
    for (size_t s = 0; s < segments_.size(); ++s) {
        Segment& g = segments_[s];
        if (g.gap || !g.held || qint64(g.rows.size()) == g.count) continue;
        const int at = firstRow(int(s));
        const qint64 want = qint64(g.rows.size());
        if (want > g.count) {
            beginInsertRows({}, at + int(g.count), at + int(want) - 1);
            g.count = want;
            reindex();
            endInsertRows();
        } else {
            beginRemoveRows({}, at + int(want), at + int(g.count) - 1);
            g.count = want;
            reindex();
            endRemoveRows();
        }
        if (want > 0) emit dataChanged(index(at, 0), index(at + int(want) - 1, columnCount() - 1));
    }
    // Rows found to belong to the end join the last part once the end has been read (it is
    // read again with them); before that the source gives them with the end.
    if (source_) movedToEnd_ += source_->takeMovedToEnd();
    if (movedToEnd_ > 0 && !open_ && !segments_.empty()) {
        const int moved = std::exchange(movedToEnd_, 0);
        const int s = int(segments_.size()) - 1;
        // A last part is read again with them before anything is announced, and takes its new
        // rows row by row; a counted end only counts them.
        std::optional<std::vector<db::Row>> rows;
        if (!segments_.back().gap && source_) {
            try {
                rows = source_->reread(segments_.back().key);
            } catch (...) {
                failLater(std::current_exception());
            }
        }
        if (rows) {
            std::vector<Piece> part;
            part.push_back(Part{segments_.back().key, std::move(*rows)});
            replace(s, s + 1, std::move(part));
        } else {
            Segment& last = segments_.back();
            const int at = rowCount();
            beginInsertRows({}, at, at + moved - 1);
            last.count += moved;
            last.held = false;
            std::vector<db::Row>().swap(last.rows);
            reindex();
            endInsertRows();
        }
    }
    movedToEnd_ = 0;
    if (release) letGo();
}

void LazyQueryModel::letGo()
{
    // Parts not shown since the last pass go, those shown longest ago first.
    qint64 held = heldRows();
    while (held > kHeld) {
        Segment* oldest = nullptr;
        for (Segment& g : segments_)
            if (g.held && g.used < tick_ && (!oldest || g.used < oldest->used)) oldest = &g;
        if (!oldest) break;
        held -= qint64(oldest->rows.size());
        oldest->held = false;
        std::vector<db::Row>().swap(oldest->rows);
    }
    ++tick_;
}

void LazyQueryModel::replace(int first, int last, std::vector<Piece> pieces)
{
    const Changing changing(changing_);
    const int at = first < int(segments_.size()) ? firstRow(first) : rowCount();
    qint64 before = 0, after = 0;
    for (int s = first; s < last; ++s) before += segments_[size_t(s)].count;
    std::vector<Segment> fresh;
    for (Piece& p : pieces) {
        fresh.push_back(segment(std::move(p)));
        after += fresh.back().count;
    }
    if (!replaceRowByRow(first, last, fresh)) {
        // The rows' number changes at the end of the range first (rows put in show empty for a
        // moment), then the rows read take their places.
        if (after > before) {
            beginInsertRows({}, at + int(before), at + int(after) - 1);
            Segment padding;
            padding.held = true;
            padding.count = after - before;
            segments_.insert(segments_.begin() + last++, std::move(padding));
            reindex();
            endInsertRows();
        } else if (after < before) {
            beginRemoveRows({}, at + int(after), at + int(before) - 1);
            for (qint64 drop = before - after, s = last - 1; drop > 0; --s) {
                Segment& g = segments_[size_t(s)];
                const qint64 take = std::min(g.count, drop);
                g.count -= take;
                drop -= take;
            }
            reindex();
            endRemoveRows();
        }
        segments_.erase(segments_.begin() + first, segments_.begin() + last);
        segments_.insert(segments_.begin() + first, std::make_move_iterator(fresh.begin()),
                         std::make_move_iterator(fresh.end()));
        reindex();
    }
    if (after > 0 && columnCount() > 0) emit dataChanged(index(at, 0), index(at + int(after) - 1, columnCount() - 1));
    movedToEnd_ += source_ ? source_->takeMovedToEnd() : 0;
    settle(false);
    settleLater();
}

qint64 LazyQueryModel::rowIdentity(const db::Row&) const
{
    return -1;
}

bool LazyQueryModel::replaceRowByRow(int first, int last, std::vector<Segment>& fresh)
{
    // Rows counted, not read, are rows of no known identity (-1). A range without a row read is
    // taken in place whole, and so is one too long to go through row by row.
    qint64 rowsBefore = 0, rowsAfter = 0;
    for (int s = first; s < last; ++s) rowsBefore += segments_[size_t(s)].count;
    for (const Segment& g : fresh) rowsAfter += g.count;
    if (rowsBefore + rowsAfter > 20 * kHeld || std::none_of(segments_.begin() + first, segments_.begin() + last,
                                                            [](const Segment& g) { return g.held && !g.rows.empty(); }))
        return false;
    static const db::Row unknown(std::make_shared<db::Columns>(), {});
    // The rows read, each named once.
    std::vector<const db::Row*> rows;
    std::vector<qint64> now;
    std::unordered_set<qint64> kept;
    for (const Segment& g : fresh)
        for (qint64 k = 0; k < g.count; ++k) {
            const bool known = g.held && k < qint64(g.rows.size());
            const qint64 id = known ? rowIdentity(g.rows[size_t(k)]) : -1;
            if (known && (id < 0 || !kept.insert(id).second)) return false;
            now.push_back(id);
            rows.push_back(known ? &g.rows[size_t(k)] : &unknown);
        }
    std::vector<qint64> was;
    std::unordered_set<qint64> had;
    Segment merged;
    merged.held = true;
    merged.used = tick_;
    for (int s = first; s < last; ++s) {
        Segment& g = segments_[size_t(s)];
        for (qint64 k = 0; k < g.count; ++k) {
            const bool known = g.held && k < qint64(g.rows.size());
            const qint64 id = known ? rowIdentity(g.rows[size_t(k)]) : -1;
            if (id >= 0 && !had.insert(id).second) return false;
            was.push_back(id);
            merged.rows.push_back(known ? g.rows[size_t(k)] : unknown);
        }
    }
    // One held part stands for them while their rows change, each change with its signals.
    merged.count = qint64(merged.rows.size());
    segments_.erase(segments_.begin() + first, segments_.begin() + last);
    segments_.insert(segments_.begin() + first, std::move(merged));
    reindex();
    Segment& m = segments_[size_t(first)];
    const int at = firstRow(first);
    auto remove = [&](size_t from, size_t to) {  // [from, to)
        beginRemoveRows({}, at + int(from), at + int(to) - 1);
        m.rows.erase(m.rows.begin() + qint64(from), m.rows.begin() + qint64(to));
        was.erase(was.begin() + qint64(from), was.begin() + qint64(to));
        m.count = qint64(m.rows.size());
        reindex();
        endRemoveRows();
    };
    // The rows that went (or are among those not read now).
    for (size_t i = was.size(); i-- > 0;) {
        if (was[i] < 0 || kept.count(was[i])) continue;
        size_t j = i;
        while (j > 0 && was[j - 1] >= 0 && !kept.count(was[j - 1])) --j;
        remove(j, i + 1);
        i = j;
    }
    // The rows kept, moved into the order they were read in.
    size_t from = 0;
    for (qint64 id : now) {
        if (!had.count(id)) continue;
        while (was[from] < 0) ++from;
        const size_t j = size_t(std::find(was.begin() + qint64(from), was.end(), id) - was.begin());
        if (j != from) {
            beginMoveRows({}, at + int(j), at + int(j), {}, at + int(from));
            std::rotate(m.rows.begin() + qint64(from), m.rows.begin() + qint64(j), m.rows.begin() + qint64(j) + 1);
            std::rotate(was.begin() + qint64(from), was.begin() + qint64(j), was.begin() + qint64(j) + 1);
            endMoveRows();
        }
        ++from;
    }
    // The new rows: in the places of rows of no known identity where they stand, else inserted.
    for (size_t i = 0; i < now.size(); ++i) {
        if (i < was.size() && was[i] == now[i] && now[i] >= 0) continue;
        if (now[i] >= 0 && had.count(now[i])) {
            size_t j = i;
            while (was[j] < 0) ++j;
            remove(i, j);
        } else if (i < was.size() && was[i] < 0) {
            was[i] = now[i];
            m.rows[i] = *rows[i];
        } else {
            beginInsertRows({}, at + int(i), at + int(i));
            m.rows.insert(m.rows.begin() + qint64(i), *rows[i]);
            was.insert(was.begin() + qint64(i), now[i]);
            m.count = qint64(m.rows.size());
            reindex();
            endInsertRows();
        }
    }
    if (was.size() > now.size()) remove(now.size(), was.size());
    // The parts as they were read, keys and all: the same rows in the same places.
    segments_.erase(segments_.begin() + first);
    segments_.insert(segments_.begin() + first, std::make_move_iterator(fresh.begin()),
                     std::make_move_iterator(fresh.end()));
    reindex();
    return true;
}

void LazyQueryModel::finish(std::vector<Piece> rest)
{
    if (!open_) return;
    open_ = false;
    append(std::move(rest));
    settle(false);
}

void LazyQueryModel::removeHeldRow(int s, int at)
{
    const Changing changing(changing_);
    Segment& g = segments_.at(size_t(s));
    const int r = firstRow(s) + at;
    beginRemoveRows({}, r, r);
    g.rows.erase(g.rows.begin() + at);
    --g.count;
    reindex();
    endRemoveRows();
}

void LazyQueryModel::insertHeldRow(int s, int at, db::Row row)
{
    const Changing changing(changing_);
    Segment& g = segments_.at(size_t(s));
    const int r = firstRow(s) + at;
    beginInsertRows({}, r, r);
    g.rows.insert(g.rows.begin() + at, std::move(row));
    ++g.count;
    g.used = tick_;
    reindex();
    endInsertRows();
}

const db::Row* LazyQueryModel::shownRow(int r) const
{
    if (r < 0 || r >= rowCount()) return nullptr;
    int s = segmentOf(r);
    if (!segments_[size_t(s)].held) {
        try {
            loadQuietly(s, r - starts_[size_t(s)]);
        } catch (...) {
            failLater(std::current_exception());
            return nullptr;
        }
        s = segmentOf(r);
    }
    Segment& g = segments_[size_t(s)];
    if (!g.held) return nullptr;
    g.used = tick_;
    const qint64 at = r - starts_[size_t(s)];
    return at < qint64(g.rows.size()) ? &g.rows[size_t(at)] : nullptr;
}

const db::Row& LazyQueryModel::row(int r) const
{
    static const db::Row none(std::make_shared<db::Columns>(), {});
    if (r < 0 || r >= rowCount()) return none;
    int s = segmentOf(r);
    if (!segments_[size_t(s)].held) {
        loadQuietly(s, r - starts_[size_t(s)]);
        s = segmentOf(r);
    }
    const Segment& g = segments_[size_t(s)];
    const qint64 at = r - starts_[size_t(s)];
    return g.held && at < qint64(g.rows.size()) ? g.rows[size_t(at)] : none;
}

void LazyQueryModel::setRow(int r, db::Row row)
{
    if (r < 0 || r >= rowCount()) return;
    (void)this->row(r);  // held from here on
    const int s = segmentOf(r);
    Segment& g = segments_[size_t(s)];
    const qint64 at = r - starts_[size_t(s)];
    if (!g.held || at >= qint64(g.rows.size())) return;
    g.rows[size_t(at)] = std::move(row);
    emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

QVariant LazyQueryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const db::Row* r = shownRow(index.row());
    if (!r) return {};
    return index.column() < r->size() ? cell(index.column(), r->at(index.column()), role) : QVariant();
}

QVariant LazyQueryModel::cell(int, const db::Value& value, int role) const
{
    return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(value.toText()) : QVariant();
}

QVariant LazyQueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return headers_.value(section);
    return QString();
}
