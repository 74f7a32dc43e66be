#pragma once
#include "documents/positions.h"
#include <QAbstractTableModel>
#include <set>
#include <vector>

class App;

// This workstation's rows of one position buffer (dopoz or dokor) as the position grids show
// them. The model holds the grid's rules: it writes an edited cell through to the database at
// once, recomputes the row (net = quantity × price, VAT = net × rate / 100, gross = net + VAT),
// keeps the rows numbered 1..n, and refuses every change while the database carries the
// read-only lock. Errors of the row commands are reported with the command's name.
class PositionModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Pozycja,
        Nazwa,
        Ilosc,
        Indjed,
        Cenanet,
        Indvat,
        WartNetto,
        WartVAT,
        WartBrutto,
        Stanowisko,
        ColumnCount
    };
    static constexpr int kNazwaMax = 255;
    static constexpr int kIndjedMax = 10;
    static constexpr int kIndvatMax = 5;

    PositionModel(App& app, PositionTable table, QObject* parent = nullptr);

    // Reads the rows again (after attaching, a new document, a load).
    void reload();
    // Empties the model without touching the database (detached).
    void clear();
    // Shows rows that are not in the buffer (on an archive database nothing is written).
    void show(std::vector<Position> rows);

    // A correction changes only quantities, prices and VAT codes: names and units are locked.
    void setNameLocked(bool locked);
    bool nameLocked() const { return nameLocked_; }
    bool readOnly() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Takes a typed cell: applies the defaults of empty cells and the typing limits, refuses a
    // number that cannot be read (with a message) and a row whose values or whose sums with the
    // other rows go beyond the money range (reported as an overflow), stores the row and
    // recomputes it.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Row commands; each returns the row to make current, or -1 when nothing was done.
    int PozycjaWstaw(int row);  // an empty row before `row`
    int PozycjaDodaj();         // an empty row at the end, numbered after the highest number
    int PozycjaUsun(int row);   // refuses to delete the only row, with a message
    bool PozycjeNumeruj();      // numbers the rows 1, 2, 3 ... in their order

    // Entries of the side list written into row `row` and stored at once; false when nothing
    // was written (the database is read-only, there is no such row, or the write failed).
    // A product: its name, quantity 1, unit, price (as shown; a price that cannot be read leaves
    // the row's) and VAT code, the row recomputed. A unit alone. A VAT code, with VAT and gross
    // recomputed from the row's net value. A decimal comma of a VAT code is stored as a point.
    bool applyProduct(int row, const QString& nazwa, const QString& jed, const QString& cena, const QString& vat);
    bool applyUnit(int row, const QString& jed);
    bool applyVat(int row, const QString& vat);

    const Position& position(int row) const { return rows_.at(size_t(row)); }
    const std::vector<Position>& rows() const { return rows_; }
    // The rows whose name was typed and then erased since the rows were read: the save checks
    // each of them once as a named row (so one without a value is refused once), and gives back
    // those it has not reached yet.
    const std::set<qint64>& erasedNames() const { return erased_; }
    void keepErasedNames(std::set<qint64> ids) { erased_ = std::move(ids); }
    // How many typed values were taken so far; a refused one leaves the count.
    int valuesTaken() const { return taken_; }
    // Column sums of the rows as they stand. Throws AppError 6 beyond the money range.
    Sums sums() const;

signals:
    // A row's values or the set of rows changed: the totals must follow.
    void valuesChanged();

private:
    static Sums sumsOf(const std::vector<Position>& rows);
    // Recomputes the row after column `column` took a new value.
    void gridPoz_AfterColUpdate(Position& p, int column) const;
    void report(const QString& where);
    // Runs the database part of a change; a failure is reported under `where` and the rows are
    // read again. True when the work was done.
    template <class Work>
    bool guarded(const QString& where, Work&& work);
    // After a failed write: the rows as the buffer holds them.
    void showStoredAgain();
    // Numbers the rows from `row` on as their places, as the buffer now holds them.
    void numberFrom(int row);
    // Stores a changed row and shows it; false after a reported failure.
    bool store(int row, const Position& p, const QString& where);

    App& app_;
    PositionBuffer buffer_;
    std::vector<Position> rows_;
    bool nameLocked_ = false;
    int taken_ = 0;
    std::set<qint64> erased_;
};
