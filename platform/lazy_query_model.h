#pragma once
#include "platform/database.h"
#include <QAbstractTableModel>
#include <QStringList>
#include <QVariant>
#include <exception>
#include <memory>
#include <variant>
#include <vector>

// A table of database rows that never needs them all: the rows come in parts that a source reads
// by a key of its own, the first ones when the source is set, the next ones as the view scrolls
// to the end (canFetchMore / fetchMore). A source may also count rows it has not read (a gap) and
// open such a gap where it is shown, so that a list of years of documents can show a row of any
// month without reading the months before it. Parts far from what is shown are let go and read
// again when they are shown, so the rows held stay bounded. The shown columns are the first
// columnCount() values of each row; a row may carry more (a key, for example).
class LazyQueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // A run of rows in the list's order, read again by its key.
    struct Part {
        QVariant key;
        std::vector<db::Row> rows;
    };
    // Rows in the list's order that were counted, not read.
    struct Gap {
        QVariant key;
        qint64 count = 0;
    };
    using Piece = std::variant<Part, Gap>;

    class Source {
    public:
        virtual ~Source() = default;
        // The parts that follow those given so far, holding at least `atLeast` rows unless the
        // end comes first; none at the end. Throws what the database throws.
        virtual std::vector<Piece> next(int atLeast) = 0;
        // The rows of a part given before, read again.
        virtual std::vector<db::Row> reread(const QVariant& key) = 0;
        // The pieces that take the place of a gap, the part holding its row `offset` read.
        virtual std::vector<Piece> open(const Gap& gap, qint64 offset) = 0;
        // How many rows the reads since the last call found to belong to the list's last part
        // rather than where they were counted (the source reads them with that part).
        virtual int takeMovedToEnd() { return 0; }
    };

    explicit LazyQueryModel(QObject* parent = nullptr);

    void setHeaders(const QStringList& headers);
    // Replaces the rows with those of `source` and reads its first part at once; an error of
    // that read is thrown to the caller, with the model left empty.
    void setSource(std::shared_ptr<Source> source);
    // No rows and no source (the database is being closed).
    void clear();
    // Reads every row not read yet, gaps and all, so that the list has its final length; an
    // error is thrown to the caller, the rows read so far kept. Parts read are let go as it goes.
    void fetchAll();
    // Reads the next part at the end; false at the end. An error is thrown to the caller and
    // ends the reading.
    bool fetchNext();
    bool atEnd() const { return !open_; }
    // Rows held in memory now.
    qint64 heldRows() const;
    // Lets go of the parts not used since the last call (those used longest ago first) while
    // more than kHeld rows are held, for a pass over many rows that reads them one after another
    // (row()): the references it took before are gone then. The rows' number does not change.
    void letGo();

    // Row `r`, read first when it is not held (a row with no values while it cannot be
    // shown). Throws what the source throws. The reference holds until the program is idle
    // again.
    const db::Row& row(int r) const;
    void setRow(int r, db::Row row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // False while rows are being put in or taken out.
    bool canFetchMore(const QModelIndex& parent) const override;
    // The view's request for more rows. It cannot take an error, so a failed read ends the
    // reading and is handed on through readFailed after the view's step is over.
    void fetchMore(const QModelIndex& parent) override;

    // Rows read per part when the view asks for more.
    static constexpr int kPart = 200;
    // Rows held at most, beyond the parts in use: parts shown longest ago are let go first.
    static constexpr qint64 kHeld = 3000;

signals:
    void readFailed(std::exception_ptr error);

protected:
    // What the view shows of one value in `role`: the value's text unless a subclass formats
    // its columns.
    virtual QVariant cell(int column, const db::Value& value, int role) const;
    // Row `r` as the view shows it, read first when it is not held; nullptr while it cannot
    // be read (a failure is handed on through readFailed).
    const db::Row* shownRow(int r) const;

    // What the list holds, for subclasses that put a row where it belongs.
    struct Segment {
        QVariant key;
        qint64 count = 0;  // rows the list shows here
        bool gap = false;  // counted, never read
        bool held = false;
        std::vector<db::Row> rows;  // while held; differs in number from count only until settled
        quint64 used = 0;
    };
    const std::vector<Segment>& segments() const { return segments_; }
    int firstRow(int segment) const;
    int segmentOf(int r) const;
    // Reads segment `s` (a gap is opened where `offset` lies) and brings the list up to date.
    void load(int s, qint64 offset = 0);
    // Reads part `s` again, held or not, and brings the list up to date.
    void reload(int s);
    // Puts `pieces` in place of segments [first, last) and brings the list up to date.
    void replace(int first, int last, std::vector<Piece> pieces);
    // The rest of the list, counted: nothing more is read at the end.
    void finish(std::vector<Piece> rest);
    // One held row taken out or put in.
    void removeHeldRow(int s, int at);
    void insertHeldRow(int s, int at, db::Row row);
    // Brings the rows shown up to date with what the reads found, lets go of parts shown
    // longest ago (`release`), and takes the rows the source moved to the end.
    void settle(bool release = true);
    // What names a row wherever it stands (a rowid), so that parts read again keep the indexes
    // of their rows; -1, as here, when rows have no such name.
    virtual qint64 rowIdentity(const db::Row& row) const;

private:
    Segment segment(Piece piece) const;
    void reindex();
    void append(std::vector<Piece> pieces);
    // Puts the held parts `fresh` in place of the held parts [first, last) row by row: the rows
    // that went removed, those kept moved to their new places, the new ones inserted. False,
    // changing nothing, when a row has no identity of its own.
    bool replaceRowByRow(int first, int last, std::vector<Segment>& fresh);
    bool readPart(int count);
    // A read inside the view's step: what changes the rows' number waits until it is over.
    void loadQuietly(int s, qint64 offset) const;
    void settleLater() const;
    void failLater(std::exception_ptr error) const;

    QStringList headers_;
    std::shared_ptr<Source> source_;
    bool open_ = false;  // the source may give more at the end
    mutable std::vector<Segment> segments_;
    mutable std::vector<qint64> starts_;  // the first row of each segment
    mutable int movedToEnd_ = 0;
    mutable quint64 tick_ = 1;
    mutable bool settling_ = false;
    // Rows being put in or taken out: a view's request for more waits until that is over, so
    // that what it would read cannot land amid the change.
    int changing_ = 0;
};
