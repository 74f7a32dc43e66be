#include "documents/sibling_documents.h"
#include "core/app.h"
#include "core/error_report.h"
#include "core/shared_procs.h"
#include "documents/position_math.h"
#include "platform/database.h"
#include "platform/date_text.h"
#include <QFileInfo>
#include <functional>
#include <memory>

namespace {

bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo fa(a), fb(b);
    return fa.exists() && fb.exists() && fa.canonicalFilePath() == fb.canonicalFilePath();
}

// How one sibling's document is read.
struct Reader {
    QString place;
    QString headerSql;
    std::vector<db::Value> headerParams;
    QString positionsSql;
    std::vector<db::Value> positionsParams;
    std::function<void(const db::Row&, SiblingDocument&)> header;
    std::function<Position(const db::Row&)> position;
    // The columns of the positions a document cannot be taken over without.
    QStringList positionColumns = Position::columns();
};

std::optional<SiblingDocument> read(App& app, const HandOver& h, const Reader& r)
{
    try {
        // A file held exclusively here can be read only through this program's own connection.
        std::unique_ptr<db::Database> own;
        db::Database* db = nullptr;
        if (app.gBaseDb && sameFile(app.gBaseDb->path(), h.databaseFile)) {
            db = app.gBaseDb.get();
        } else {
            db::OpenOptions options;
            options.readOnly = true;
            own = db::Database::open(h.databaseFile, h.haslo, options);
            db = own.get();
        }
        // Header and positions from one state of the sender's file.
        db::Transaction snapshot(*db, db::Transaction::Mode::Deferred);
        const std::vector<db::Row> rows = db->query(r.headerSql, r.headerParams);
        if (rows.empty()) return std::nullopt;
        SiblingDocument d;
        d.sourceFile = r.place;
        r.header(rows.front(), d);
        // A column missing from the sender's positions refuses the document, as one missing from
        // its header does: it is never taken over with that value empty.
        db::Statement positions(*db, r.positionsSql);
        positions.bindAll(r.positionsParams);
        positions.requireColumns(r.positionColumns);
        qint64 n = 0;
        while (positions.step()) {
            Position pos = r.position(positions.row());
            pos.id = 0;
            pos.Pozycja = ++n;
            d.pozycje.push_back(std::move(pos));
        }
        snapshot.commit();
        return d;
    } catch (...) {
        ErrorReport(app, r.place);
        return std::nullopt;
    }
}

// A date column as the form's date fields show it, empty when NULL; a value that is no date (a
// text, a number) is reported as the other odd values are, and nothing is taken over.
QString dateField(const db::Row& row, const QString& column)
{
    const auto d = row[column].exactDate(column);
    return d ? dateText(*d) : QString();
}

// The fields every sibling fills: the seller.
void seller(const db::Row& row, SiblingDocument& d)
{
    d.Nazkon = RstToText(row, QStringLiteral("nazkon"));
    d.Adrkon = RstToText(row, QStringLiteral("adrkon"));
    d.Nipkon = RstToText(row, QStringLiteral("nipkon"));
}

// An order's position: no VAT of its own, so 22 % computed and rounded as the grid does.
Position orderPosition(const db::Row& r)
{
    Position p = Position::fromRow(r);
    p.Indvat = QStringLiteral("22");
    const RowValues v = vatValues(p.WartNetto, p.Indvat);
    p.WartVAT = v.WartVAT;
    p.WartBrutto = v.WartBrutto;
    return p;
}

// An order's columns: all but the VAT code and the values computed from it.
QStringList orderColumns()
{
    QStringList c = Position::columns();
    for (const char* computed : {"Indvat", "WartVAT", "WartBrutto"}) c.removeAll(QString::fromLatin1(computed));
    return c;
}

}  // namespace

std::optional<SiblingDocument> WczytajZMagazynu(App& app, const HandOver& h)
{
    const QString kind = h.kind();
    return read(app, h,
                {QStringLiteral("WczytajZMagazynu"),
                 QStringLiteral("SELECT * FROM mgdok WHERE inddok = ? AND numer = ?"),
                 {kind, h.numer},
                 QStringLiteral("SELECT * FROM mgpoz WHERE Inddok = ? AND Numer = ? ORDER BY pozycja"),
                 {kind, h.numer},
                 [&](const db::Row& row, SiblingDocument& d) {
                     d.Datawyst = dateField(row, QStringLiteral("Data"));
                     d.Datasprz = d.Datawyst;
                     seller(row, d);
                     d.Podstawa = RstToText(row, QStringLiteral("podstawa"));
                     if (kind == QLatin1String("WZ")) d.Wydane = kind + QStringLiteral(" Nr ") + h.numer;
                 },
                 Position::fromRow});
}

std::optional<SiblingDocument> WczytajZRolkwit(App& app, const HandOver& h)
{
    return read(app, h,
                {QStringLiteral("WczytajZRolkwit"),
                 QStringLiteral("SELECT * FROM fadok WHERE numer = ?"),
                 {h.numer},
                 QStringLiteral("SELECT * FROM fapoz WHERE Inddok = ? AND Numer = ? ORDER BY pozycja"),
                 {h.kind(), h.numer},
                 [](const db::Row& row, SiblingDocument& d) {
                     d.Datawyst = dateField(row, QStringLiteral("Datawyst"));
                     d.Datasprz = dateField(row, QStringLiteral("Datasprz"));
                     seller(row, d);
                     d.Podstawa = RstToText(row, QStringLiteral("podstawa"));
                     d.Wydane = RstToText(row, QStringLiteral("wydane"));
                 },
                 Position::fromRow});
}

std::optional<SiblingDocument> WczytajZZamowienia(App& app, const HandOver& h)
{
    return read(app, h,
                {QStringLiteral("WczytajZZamowienia"),
                 QStringLiteral("SELECT * FROM zmdok WHERE numer = ?"),
                 {h.numer},
                 QStringLiteral("SELECT * FROM zmpoz WHERE Numer = ? ORDER BY pozycja"),
                 {h.numer},
                 [&](const db::Row& row, SiblingDocument& d) {
                     d.Datawyst = dateField(row, QStringLiteral("Datawyst"));
                     d.Datasprz = d.Datawyst;
                     seller(row, d);
                     if (h.kind() == QLatin1String("ZAM")) d.Podstawa = QStringLiteral("Zamówienie Nr ") + h.numer;
                 },
                 orderPosition,
                 orderColumns()});
}

std::optional<SiblingDocument> readFromSiblingProgram(App& app, const HandOver& h)
{
    if (h.programCode == QLatin1String("MG")) return WczytajZMagazynu(app, h);
    if (h.programCode == QLatin1String("FA")) return WczytajZRolkwit(app, h);
    if (h.programCode == QLatin1String("ZM")) return WczytajZZamowienia(app, h);
    return std::nullopt;
}

std::optional<LoadedDocument> takeOverPositions(App& app, const SiblingDocument& d, const DocHeader& formularz)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return std::nullopt;
    try {
        LoadedDocument taken;
        DocHeader dates = formularz;
        dates.Datawyst = textDate(d.Datawyst);
        dates.Datasprz = textDate(d.Datasprz);
        DocHeader& h = taken.header = formularz.with(dates, DocHeader::DatesPart);
        h.Nazkon = d.Nazkon;
        h.Adrkon = d.Adrkon;
        h.Nipkon = d.Nipkon;
        if (d.Podstawa) h.Podstawa = *d.Podstawa;
        if (d.Wydane) h.Wydane = *d.Wydane;
        h.setTotals(positionTotals(h, d.pozycje, {}));
        taken.parts = DocHeader::DatesPart | DocHeader::TextsPart | DocHeader::TotalsPart;
        taken.rows = replaceBuffers(app, d.pozycje, {}, h);
        return taken;
    } catch (...) {
        ErrorReport(app, d.sourceFile);
        return std::nullopt;
    }
}
