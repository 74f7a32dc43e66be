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
            const Position p = typedPosition(r, ++n);
            sums.netto += p.WartNetto.value_or(Decimal());
            sums.vat += p.WartVAT.value_or(Decimal());
            sums.brutto += p.WartBrutto.value_or(Decimal());
            db.execute(positionInsert("fapoz"), (korekta ? p.negated() : p).values({0, h.Inddok, h.Numer, korekta}));
        }
    };
    insert(poz, false, after);
    insert(kor, true, before);
    h.setTotals(PozycjeSumuj(after, h.isCorrection() ? &before : nullptr, !h.Fundusz.isEmpty()));
    db.execute(DocHeader::insertStatement("fadok"), h.values());
    return h;
}
