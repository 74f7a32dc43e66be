#pragma once
#include "core/app.h"
#include "documents/doc_header.h"
#include "documents/position_math.h"
#include "support/document_fixture.h"
#include <QStringList>
#include <vector>

// A stored document written straight into fadok and fapoz as a save writes it: positions
// numbered from 1, a correction's corrected rows negated, the header with its totals.
inline DocHeader storeDocument(App& app, DocHeader h, const std::vector<TypedRow>& poz,
                               const std::vector<TypedRow>& kor = {})
{
    db::Database& db = *app.gBaseDb;
    Sums after, before;
    auto insert = [&](const std::vector<TypedRow>& rows, bool korekta, Sums& sums) {
        qint64 n = 0;
        for (const TypedRow& r : rows) {
            const OptDecimal ilosc = Decimal::parse(r.ilosc), cena = Decimal::parse(r.cena);
            const RowValues v = WartosciVat(WartoscNetto(ilosc, cena), r.vat);
            sums.netto += v.WartNetto.value_or(Decimal());
            sums.vat += v.WartVAT.value_or(Decimal());
            sums.brutto += v.WartBrutto.value_or(Decimal());
            const int s = korekta ? -1 : 1;
            auto neg = [&](const OptDecimal& d) { return d ? OptDecimal(*d * Decimal(s)) : d; };
            db.execute("INSERT INTO fapoz (Stanowisko, Inddok, Numer, Pozycja, Korekta, Nazwa, Ilosc, Indjed, Cenanet, "
                       "Indvat, "
                       "WartNetto, WartVAT, WartBrutto) VALUES (0, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       {h.Inddok, h.Numer, ++n, korekta, r.nazwa, neg(ilosc), r.jed, cena, r.vat, neg(v.WartNetto),
                        neg(v.WartVAT), neg(v.WartBrutto)});
        }
    };
    insert(poz, false, after);
    insert(kor, true, before);
    Totals t = PozycjeSumuj(after, h.isCorrection() ? &before : nullptr, !h.Fundusz.isEmpty());
    h.RazNetto = t.RazNetto;
    h.RazVAT = t.RazVAT;
    h.RazBrutto = t.RazBrutto;
    h.Potracenie = t.Potracenie;
    h.DoZaplaty = t.DoZaplaty;
    QStringList marks;
    for (int i = 0; i < DocHeader::columns().size(); ++i) marks << "?";
    db.execute(
        QStringLiteral("INSERT INTO fadok (%1) VALUES (%2)").arg(DocHeader::columns().join(','), marks.join(',')),
        h.values());
    return h;
}
