#include "documents/loading.h"
#include "core/app.h"
#include "core/error_report.h"
#include "documents/position_math.h"
#include "documents/positions.h"
#include "documents/transaction_scope.h"
#include "platform/database.h"

namespace {

OptDecimal neg(OptDecimal v)
{
    return v ? OptDecimal(-*v) : v;
}

// The stored rows of one side of a document, in position order; `korekta` rows come back
// positive.
std::vector<Position> storedRows(db::Database& db, const QString& numer, bool korekta)
{
    std::vector<Position> rows;
    db.forEach(QStringLiteral("SELECT Pozycja, Nazwa, Ilosc, Indjed, Cenanet, Indvat, WartNetto, WartVAT, WartBrutto "
                              "FROM fapoz WHERE Numer = ? AND coalesce(Korekta, 0) = ? ORDER BY Pozycja"),
               {numer, korekta}, [&](const db::Row& r) {
                   Position p = Position::fromRow(r);
                   if (korekta) {
                       p.Ilosc = neg(p.Ilosc);
                       p.WartNetto = neg(p.WartNetto);
                       p.WartVAT = neg(p.WartVAT);
                       p.WartBrutto = neg(p.WartBrutto);
                   }
                   rows.push_back(std::move(p));
               });
    return rows;
}

// Replaces this workstation's dopoz and dokor rows in one transaction.
void replaceBuffers(App& app, const std::vector<Position>& poz, const std::vector<Position>& kor)
{
    auto& db = *app.gBaseDb;
    TransactionScope tr(db);
    db.execute(QStringLiteral("DELETE FROM dopoz WHERE Stanowisko = ?"), {app.gStanowisko});
    db.execute(QStringLiteral("DELETE FROM dokor WHERE Stanowisko = ?"), {app.gStanowisko});
    for (auto [table, rows] : {std::pair{QStringLiteral("dopoz"), &poz}, std::pair{QStringLiteral("dokor"), &kor}}) {
        db::Statement st(db, QStringLiteral("INSERT INTO %1 (Stanowisko, Pozycja, Nazwa, Ilosc, Indjed, Cenanet, Indvat, "
                                            "WartNetto, WartVAT, WartBrutto) VALUES (?,?,?,?,?,?,?,?,?,?)")
                                 .arg(table));
        for (const Position& p : *rows) {
            st.bindAll({app.gStanowisko, p.Pozycja, p.Nazwa, p.Ilosc, p.Indjed, p.Cenanet, p.Indvat, p.WartNetto,
                        p.WartVAT, p.WartBrutto});
            st.step();
            st.reset();
        }
    }
    tr.commit();
}

std::optional<DocHeader> storedHeader(db::Database& db, const QString& numer)
{
    auto row = db.queryOne(QStringLiteral("SELECT * FROM fadok WHERE Numer = ?"), {numer});
    if (!row) return std::nullopt;
    DocHeader h = DocHeader::fromRow(*row);
    if (h.Fundusz.trimmed().isEmpty()) h.Fundusz.clear();  // stored as one space: no fund
    return h;
}

Sums sums(const std::vector<Position>& rows)
{
    Sums s;
    for (const Position& p : rows) {
        s.netto += p.WartNetto.value_or(Decimal());
        s.vat += p.WartVAT.value_or(Decimal());
        s.brutto += p.WartBrutto.value_or(Decimal());
    }
    return s;
}

} // namespace

std::optional<DocHeader> WczytajDokument(App& app, const QString& tryb, const QString& numer, const QString& rodzajEdytora)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return std::nullopt;
    try {
        auto& db = *app.gBaseDb;
        std::optional<DocHeader> h;
        std::vector<Position> poz, kor;
        {
            // One read transaction: the header and the rows belong to the same saved state.
            db::Transaction read(db, db::Transaction::Mode::Deferred);
            h = storedHeader(db, numer);
            if (!h) return std::nullopt;
            poz = storedRows(db, numer, false);
            kor = storedRows(db, numer, true);
            read.commit();
        }
        replaceBuffers(app, poz, kor);
        if (tryb != kTrybPopraw) {
            Sums k = sums(kor);
            Totals t = PozycjeSumuj(sums(poz), rodzajEdytora == QLatin1String("KFR") ? &k : nullptr, !h->Fundusz.isEmpty());
            h->RazNetto = t.RazNetto;
            h->RazVAT = t.RazVAT;
            h->RazBrutto = t.RazBrutto;
            h->Potracenie = t.Potracenie;
            h->DoZaplaty = t.DoZaplaty;
        }
        return h;
    } catch (...) {
        ErrorReport(app, QStringLiteral("WczytajDokument"));
        return std::nullopt;
    }
}

bool WczytajPozycje(App& app, const QString& numer, bool zKorekta)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return false;
    try {
        auto& db = *app.gBaseDb;
        std::vector<Position> poz = storedRows(db, numer, false);
        std::vector<Position> kor = zKorekta ? storedRows(db, numer, true) : std::vector<Position>();
        replaceBuffers(app, poz, kor);
        return true;
    } catch (...) {
        ErrorReport(app, QStringLiteral("WczytajPozycje"));
        return false;
    }
}

std::optional<DocHeader> WczytajKorygowany(App& app, const QString& numer)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return std::nullopt;
    try {
        auto& db = *app.gBaseDb;
        auto h = storedHeader(db, numer);
        if (!h) return std::nullopt;
        std::vector<Position> poz = storedRows(db, numer, false);
        replaceBuffers(app, poz, poz);
        return h;
    } catch (...) {
        ErrorReport(app, QStringLiteral("WczytajKorygowany"));
        return std::nullopt;
    }
}

bool DokumentZapisany(App& app, const QString& numer)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return false;
    try {
        return app.gBaseDb->queryOne(QStringLiteral("SELECT 1 FROM fadok WHERE Numer = ?"), {numer}).has_value();
    } catch (...) {
        ErrorReport(app, QStringLiteral("DokumentZapisany"));
        return false;
    }
}
