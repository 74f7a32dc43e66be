#include "editor/position_model.h"
#include "core/app.h"
#include "core/error_report.h"
#include "platform/message_box.h"

namespace {

QString decimalText(const OptDecimal& v)
{
    return v ? v->toString().replace('.', ',') : QString();
}

QString moneyText(const OptDecimal& v)
{
    return v ? v->toDisplay(2) : QString();
}

bool isNumeric(int c)
{
    return c == PositionModel::Pozycja || c == PositionModel::Ilosc || c == PositionModel::Cenanet ||
           c >= PositionModel::WartNetto;
}

}  // namespace

PositionModel::PositionModel(App& app, PositionTable table, QObject* parent)
    : QAbstractTableModel(parent), app_(app), buffer_(app, table)
{
}

bool PositionModel::readOnly() const
{
    // Rows shown while no database is open (the typed document kept for the file attached next)
    // have nowhere to be written.
    return app_.gBazaPar.BazaOdczyt || !app_.gBazaOtwarta;
}

void PositionModel::reload()
{
    beginResetModel();
    erased_.clear();
    try {
        rows_ = (app_.gBazaOtwarta && app_.gBaseDb) ? buffer_.read() : std::vector<Position>();
    } catch (...) {
        rows_.clear();
        endResetModel();
        report(QStringLiteral("PositionModel"));
        return;
    }
    endResetModel();
}

void PositionModel::clear()
{
    show({});
}

void PositionModel::show(std::vector<Position> rows)
{
    beginResetModel();
    erased_.clear();
    rows_ = std::move(rows);
    endResetModel();
}

void PositionModel::setNameLocked(bool locked)
{
    if (nameLocked_ == locked) return;
    nameLocked_ = locked;
    if (!rows_.empty()) emit dataChanged(index(0, Nazwa), index(rowCount() - 1, Indjed));
}

int PositionModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int PositionModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PositionModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Position& p = rows_[size_t(index.row())];
    const int c = index.column();
    if (role == Qt::TextAlignmentRole)
        return isNumeric(c) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const bool edit = role == Qt::EditRole;
    switch (c) {
    case Pozycja: return p.Pozycja ? QString::number(*p.Pozycja) : QString();
    case Nazwa: return p.Nazwa;
    case Ilosc: return decimalText(p.Ilosc);
    case Indjed: return p.Indjed;
    case Cenanet: return edit ? decimalText(p.Cenanet) : moneyText(p.Cenanet);
    case Indvat: return p.Indvat;
    case WartNetto: return moneyText(p.WartNetto);
    case WartVAT: return moneyText(p.WartVAT);
    case WartBrutto: return moneyText(p.WartBrutto);
    case Stanowisko: return app_.gStanowisko;
    }
    return {};
}

QVariant PositionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* captions[ColumnCount] = {"Lp.",
                                                "Nazwa nabytych produktów (opis, klasa, jakość)",
                                                "Ilość",
                                                "Jm.",
                                                "Cena netto",
                                                "Stawka podatku",
                                                "Wartość netto",
                                                "Kwota VAT",
                                                "Wartość brutto",
                                                "Stanowisko"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(captions[section]) : QVariant();
}

Qt::ItemFlags PositionModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int c = index.column();
    const bool typed = c == Nazwa || c == Ilosc || c == Indjed || c == Cenanet || c == Indvat;
    if (typed && !readOnly() && !(nameLocked_ && (c == Nazwa || c == Indjed))) f |= Qt::ItemIsEditable;
    return f;
}

bool PositionModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable)) return false;
    const int c = index.column();
    Position p = rows_[size_t(index.row())];
    QString text = value.toString();

    // Defaults of empty cells.
    if (text.trimmed().isEmpty()) {
        if (c == Ilosc)
            text = QStringLiteral("1");
        else if (c == Cenanet || c == Indvat)
            text = QStringLiteral("0");
    }
    switch (c) {
    case Nazwa:
        if (text.size() > kNazwaMax) {
            text.truncate(kNazwaMax);
            ui::msgBox(QString::fromUtf8("Tekst w polu: Nazwa nabytych produktów przekroczył dozwoloną długość. "
                                         "Wartość pola została obcięta do 255 znaków."),
                       ui::Buttons::Ok, ui::Icon::Information, app_.title);
        }
        p.Nazwa = text;
        break;
    case Indjed: p.Indjed = text.left(kIndjedMax); break;
    case Indvat: p.Indvat = text.trimmed().left(kIndvatMax); break;
    case Ilosc:
    case Cenanet: {
        auto number = Decimal::parse(text);
        if (!number) {
            ui::msgBox(
                QString::fromUtf8("Błedna wartość pola. Pola liczbowe muszą zawierać cyfry. Znakiem oddzielającym "
                                  "częsć ułamkową jest przecinek. Popraw dane i spróbuj ponownie."),
                ui::Buttons::Ok, ui::Icon::Exclamation, app_.title);
            return false;
        }
        (c == Ilosc ? p.Ilosc : p.Cenanet) = number;
        break;
    }
    default: return false;
    }

    try {
        gridPoz_AfterColUpdate(p, c);
        // The document's sums must stay in the money range too, not only the row.
        std::vector<Position> after = rows_;
        after[size_t(index.row())] = p;
        sumsOf(after);
    } catch (...) {
        report(QStringLiteral("gridPoz_AfterColUpdate"));
        return false;  // nothing was written: the row stays as it is
    }
    if (!guarded(QStringLiteral("gridPoz_AfterColUpdate"), [&] { buffer_.writeRow(p); })) return false;
    if (c == Nazwa && p.Nazwa.isEmpty() && !rows_[size_t(index.row())].Nazwa.isEmpty()) erased_.insert(p.id);
    if (c == Nazwa && !p.Nazwa.isEmpty()) erased_.erase(p.id);
    rows_[size_t(index.row())] = p;
    ++taken_;
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
    if (c == Ilosc || c == Cenanet || c == Indvat) emit valuesChanged();
    return true;
}

void PositionModel::gridPoz_AfterColUpdate(Position& p, int column) const
{
    // A changed quantity or price recomputes net, VAT and gross; a changed VAT code only VAT
    // and gross, from the net value as it stands.
    if (column == Ilosc)
        p.WartNetto = netValue(p.Ilosc, p.Cenanet.value_or(Decimal()));
    else if (column == Cenanet)
        p.WartNetto = netValue(p.Ilosc, p.Cenanet);
    else if (column != Indvat)
        return;
    RowValues v = vatValues(p.WartNetto, p.Indvat);
    p.WartNetto = v.WartNetto;
    p.WartVAT = v.WartVAT;
    p.WartBrutto = v.WartBrutto;
}

bool PositionModel::store(int row, const Position& p, const QString& where)
{
    try {
        buffer_.writeRow(p);
    } catch (...) {
        report(where);
        showStoredAgain();
        return false;
    }
    rows_[size_t(row)] = p;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    emit valuesChanged();
    return true;
}

bool PositionModel::applyProduct(int row, const QString& nazwa, const QString& jed, const QString& cena,
                                 const QString& vat)
{
    if (readOnly() || row < 0 || row >= rowCount()) return false;
    Position p = rows_[size_t(row)];
    p.Nazwa = nazwa.left(kNazwaMax);
    p.Ilosc = Decimal(1);
    p.Indjed = jed.left(kIndjedMax);
    if (auto price = Decimal::parse(cena)) p.Cenanet = price;
    p.Indvat = QString(vat).replace(',', '.').left(kIndvatMax);
    gridPoz_AfterColUpdate(p, Ilosc);
    return store(row, p, QStringLiteral("lstSlo_DblClick"));
}

bool PositionModel::applyUnit(int row, const QString& jed)
{
    if (readOnly() || row < 0 || row >= rowCount()) return false;
    Position p = rows_[size_t(row)];
    p.Indjed = jed.left(kIndjedMax);
    return store(row, p, QStringLiteral("lstSlo_DblClick"));
}

bool PositionModel::applyVat(int row, const QString& vat)
{
    if (readOnly() || row < 0 || row >= rowCount()) return false;
    Position p = rows_[size_t(row)];
    p.Indvat = QString(vat).replace(',', '.').left(kIndvatMax);
    gridPoz_AfterColUpdate(p, Indvat);
    return store(row, p, QStringLiteral("lstSlo_DblClick"));
}

int PositionModel::PozycjaWstaw(int row)
{
    if (readOnly()) return -1;
    row = std::clamp(row, 0, rowCount());
    std::vector<qint64> order;
    for (const auto& p : rows_) order.push_back(p.id);
    qint64 id = 0;
    if (!guarded(QStringLiteral("PozycjaWstaw"), [&] { id = buffer_.insertAt(order, row); })) return -1;
    Position added;
    added.id = id;
    beginInsertRows({}, row, row);
    rows_.insert(rows_.begin() + row, added);
    endInsertRows();
    // The new row and every row after it are numbered on from its place, as stored.
    numberFrom(row);
    return row;
}

int PositionModel::PozycjaDodaj()
{
    if (readOnly()) return -1;
    // After the highest number, so that a number left by an unnamed row is never given twice.
    qint64 highest = 0;
    for (const auto& p : rows_) highest = std::max(highest, p.Pozycja.value_or(0));
    Position added;
    added.Pozycja = highest + 1;
    if (!guarded(QStringLiteral("PozycjaDodaj"), [&] { added.id = buffer_.append(highest + 1); })) return -1;
    const int row = rowCount();
    beginInsertRows({}, row, row);
    rows_.push_back(added);
    endInsertRows();
    return row;
}

int PositionModel::PozycjaUsun(int row)
{
    if (readOnly() || row < 0 || row >= rowCount()) return -1;
    if (rowCount() < 2) {
        ui::msgBox(
            QString::fromUtf8(
                "Wymagane jest pozostawienie w tablicy przynajmniej jednego wiersza. Jeżeli chcesz wprowadzać "
                "dane nowego dokumentu kliknij na <Nowy dokument>. Liczba wierszy nowego dokumentu definiowana "
                "jest w oknie otwieranym po wybraniu polecenia 'Parametry dokumentów' z menu górnego 'Narzędzia'."),
            ui::Buttons::Ok, ui::Icon::Information, app_.title);
        return -1;
    }
    std::vector<Position> rest = rows_;
    rest.erase(rest.begin() + row);
    const bool ok = guarded(QStringLiteral("PozycjaUsun"), [&] {
        buffer_.remove(rows_[size_t(row)].id);
        buffer_.renumber(rest);
    });
    if (ok) {
        beginRemoveRows({}, row, row);
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
        numberFrom(0);
    }
    emit valuesChanged();
    return ok ? rowCount() - 1 : -1;
}

bool PositionModel::PozycjeNumeruj()
{
    if (readOnly()) return false;
    if (!guarded(QStringLiteral("PozycjeNumeruj"), [&] { buffer_.renumber(rows_); })) return false;
    numberFrom(0);
    return true;
}

void PositionModel::numberFrom(int row)
{
    int first = -1, last = -1;
    for (int r = row; r < rowCount(); ++r) {
        if (rows_[size_t(r)].Pozycja == r + 1) continue;
        rows_[size_t(r)].Pozycja = r + 1;
        if (first < 0) first = r;
        last = r;
    }
    if (first >= 0) emit dataChanged(index(first, Pozycja), index(last, Pozycja));
}

template <class Work>
bool PositionModel::guarded(const QString& where, Work&& work)
{
    try {
        work();
        return true;
    } catch (...) {
        report(where);
        showStoredAgain();
        return false;
    }
}

void PositionModel::showStoredAgain()
{
    // What is stored is shown again, whatever the failure left; a file changed under the window
    // holds nothing of it: the rows shown are the typed document, which goes whole into the file
    // connected anew.
    if (app_.gBaseDb && app_.gBaseDb->isChanged()) return;
    reload();
}

Sums PositionModel::sums() const
{
    return sumsOf(rows_);
}

Sums PositionModel::sumsOf(const std::vector<Position>& rows)
{
    Sums s;
    for (const auto& p : rows) {
        if (p.WartNetto) s.netto += *p.WartNetto;
        if (p.WartVAT) s.vat += *p.WartVAT;
        if (p.WartBrutto) s.brutto += *p.WartBrutto;
    }
    return s;
}

void PositionModel::report(const QString& where)
{
    ErrorReport(app_, where);
}
