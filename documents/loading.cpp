#include "documents/loading.h"
#include "core/app.h"
#include "core/error_report.h"
#include "documents/buffer.h"
#include "documents/position_math.h"
#include "documents/positions.h"
#include "documents/transaction_scope.h"
#include "platform/database.h"

namespace {

// The stored rows of one side of a document, in position order and numbered 1..n; `korekta`
// rows come back positive.
std::vector<Position> storedRows(db::Database& db, const QString& numer, bool korekta)
{
    std::vector<Position> rows;
    qint64 n = 0;
    db.forEach(
        QStringLiteral("SELECT %1 FROM fapoz WHERE Numer = ? AND coalesce(Korekta, 0) = ? ORDER BY Pozycja, rowid")
            .arg(Position::columns().join(u", ")),
        {numer, korekta}, [&](const db::Row& r) {
            Position p = Position::fromRow(r);
            if (korekta) p = p.negated();
            p.Pozycja = ++n;
            rows.push_back(std::move(p));
        });
    return rows;
}

std::optional<DocHeader> storedHeader(db::Database& db, const QString& numer)
{
    auto h = DocHeader::stored(db, numer);
    if (h) h->clearBlankFund();
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

}  // namespace

Totals positionTotals(const DocHeader& h, const std::vector<Position>& dopoz, const std::vector<Position>& dokor)
{
    const Sums kor = sums(dokor);
    return PozycjeSumuj(sums(dopoz), h.isCorrection() ? &kor : nullptr, !h.Fundusz.isEmpty());
}

LoadedRows replaceBuffers(App& app, std::vector<Position> poz, std::vector<Position> kor, const DocHeader& naglowek,
                          const EditState* edit)
{
    LoadedRows loaded{std::move(poz), std::move(kor), false};
    if (app.gBazaPar.BazaOdczyt) return loaded;
    TransactionScope tr(*app.gBaseDb);
    WyczyscPozycje(app);
    for (auto [table, rows] :
         {std::pair{PositionTable::Dopoz, &loaded.dopoz}, std::pair{PositionTable::Dokor, &loaded.dokor}}) {
        PositionBuffer buffer(app, table);
        for (Position& p : *rows) p.id = buffer.insert(p);
    }
    bufferHeader(app, naglowek);
    if (edit) bufferEditState(app, *edit);
    tr.commit();
    loaded.buffered = true;
    return loaded;
}

LoadedRows bufferTypedDocument(App& app, TypedDocument& doc)
{
    LoadedRows rows = replaceBuffers(app, doc.dopoz, doc.dokor, doc.header, &doc.edit);
    if (!rows.buffered) return rows;
    std::set<qint64> erased;
    for (size_t i = 0; i < doc.dopoz.size(); ++i)
        if (doc.edit.erasedRows.count(doc.dopoz[i].id)) erased.insert(rows.dopoz[i].id);
    doc.edit.erasedRows = std::move(erased);
    doc.dopoz = rows.dopoz;
    doc.dokor = rows.dokor;
    return rows;
}

bool bufferHoldsRows(App& app, const TypedDocument& doc)
{
    return PositionBuffer(app, PositionTable::Dopoz).read() == doc.dopoz &&
           PositionBuffer(app, PositionTable::Dokor).read() == doc.dokor;
}

std::optional<LoadedDocument> WczytajDokument(App& app, const QString& tryb, const QString& numer,
                                              const DocHeader& formularz, bool* brak)
{
    if (brak) *brak = false;
    if (!app.gBazaOtwarta || !app.gBaseDb) return std::nullopt;
    try {
        auto& db = *app.gBaseDb;
        LoadedDocument d;
        std::vector<Position> poz, kor;
        {
            // One read transaction: the header, the rows and the identity belong to one saved state.
            db::Transaction read(db, db::Transaction::Mode::Deferred);
            auto h = storedHeader(db, numer);
            if (!h) {
                if (brak) *brak = true;
                return std::nullopt;
            }
            d.header = *h;
            poz = storedRows(db, numer, false);
            kor = storedRows(db, numer, true);
            d.storedIdentity = storedIdentityOf(db, numer).value_or(StoredIdentity());
            read.commit();
        }
        if (tryb == kTrybPopraw) {
            d.parts = DocHeader::WholeHeader;
            d.edit = EditState::of(app, d.header.Numer, d.storedIdentity);
        } else {
            // The content of the stored document in the document being written.
            d.parts = DocHeader::TextsPart | DocHeader::TotalsPart | DocHeader::IssuerPart;
            d.header = formularz.with(d.header, d.parts);
            d.header.setTotals(positionTotals(d.header, poz, kor));
        }
        d.rows = replaceBuffers(app, std::move(poz), std::move(kor), d.header, d.edit.poprawa() ? &d.edit : nullptr);
        return d;
    } catch (...) {
        ErrorReport(app, QStringLiteral("WczytajDokument"));
        return std::nullopt;
    }
}

std::optional<LoadedDocument> WczytajPozycje(App& app, const QString& numer, bool zKorekta, const DocHeader& formularz)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return std::nullopt;
    try {
        auto& db = *app.gBaseDb;
        LoadedDocument d;
        std::vector<Position> poz, kor;
        {
            db::Transaction read(db, db::Transaction::Mode::Deferred);
            poz = storedRows(db, numer, false);
            if (zKorekta) kor = storedRows(db, numer, true);
            read.commit();
        }
        d.header = formularz;
        if (!zKorekta) {
            d.parts = DocHeader::TotalsPart;
            d.header.setTotals(positionTotals(d.header, poz, kor));
        }
        d.rows = replaceBuffers(app, std::move(poz), std::move(kor), d.header);
        return d;
    } catch (...) {
        ErrorReport(app, QStringLiteral("WczytajPozycje"));
        return std::nullopt;
    }
}

std::optional<LoadedDocument> WczytajKorygowany(App& app, const QString& numer, const DocHeader& formularz)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return std::nullopt;
    try {
        auto& db = *app.gBaseDb;
        LoadedDocument d;
        std::vector<Position> poz;
        {
            db::Transaction read(db, db::Transaction::Mode::Deferred);
            auto h = storedHeader(db, numer);
            if (!h) return std::nullopt;
            d.parts = DocHeader::TextsPart | DocHeader::TotalsPart;
            d.header = formularz.with(*h, d.parts);
            d.header.KorDatawyst = h->Datawyst;
            poz = storedRows(db, numer, false);
            read.commit();
        }
        d.header.setTotals(positionTotals(d.header, poz, poz));
        d.rows = replaceBuffers(app, poz, poz, d.header);
        return d;
    } catch (...) {
        ErrorReport(app, QStringLiteral("WczytajKorygowany"));
        return std::nullopt;
    }
}

QString documentNotFoundMessage(const QString& nazwa)
{
    return QStringLiteral("Nie znaleziono dokumentu %1 w otwartej bazie danych.").arg(nazwa);
}

bool isDocumentStored(App& app, const QString& numer)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return false;
    try {
        return app.gBaseDb->queryOne(QStringLiteral("SELECT 1 FROM fadok WHERE Numer = ?"), {numer}).has_value();
    } catch (...) {
        ErrorReport(app, QStringLiteral("DokumentZapisany"));
        return false;
    }
}
