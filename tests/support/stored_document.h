#pragma once
#include "core/app.h"
#include "documents/doc_header.h"
#include "documents/position_math.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include "support/test_settings.h"
#include <QDate>
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
            db.execute(positionInsert("fapoz"),
                       positionValues({0, h.Inddok, h.Numer, korekta}, korekta ? p.negated() : p));
        }
    };
    insert(poz, false, after);
    insert(kor, true, before);
    h.setTotals(PozycjeSumuj(after, h.isCorrection() ? &before : nullptr, !h.Fundusz.isEmpty()));
    db.execute(DocHeader::insertStatement("fadok"), h.values());
    return h;
}

// Stored documents across months, kinds, payment forms and payment states, as the register
// lists them (newest month first, then by the running number, highest first):
//
//   KFR 12/03/2024  2024-03-20  Żaneta Łąkowa   Przelew   123,00   paid 122,00 (its amount to pay)
//   FR  11/03/2024  2024-03-02  Jan O'Brien      przelew  1 000,00  unpaid, deduction 1,00
//   FR  2/03/2024   2024-03-15  Anna Nowak       gotówka    50,50   paid 50,50
//   FR  10/02/2024  2024-02-11  Jan O'Brien      gotówka   200,00   paid 100,00 (partly)
//   FR  9/12/2023   2023-12-31  Firma 100% BORDER _x      przelew   10,00   unpaid
//   FR  1/01/2023   2023-01-05  Jan Kowalski     (none)     7,25   paid 7,25
struct StoredDocuments {
    TempDatabase t;

    StoredDocuments()
    {
        useTestSettings(t.app, t.dir.path());
        add("KFR", "12/03/2024", QDate(2024, 3, 20), "Żaneta Łąkowa", "Przelew", "123", "1", "122");
        add("FR", "11/03/2024", QDate(2024, 3, 2), "Jan O'Brien", "przelew", "1000", "1", {});
        add("FR", "2/03/2024", QDate(2024, 3, 15), "Anna Nowak", "gotówka", "50.5", {}, "50.5");
        add("FR", "10/02/2024", QDate(2024, 2, 11), "Jan O'Brien", "gotówka", "200", {}, "100");
        add("FR", "9/12/2023", QDate(2023, 12, 31), "Firma 100% BORDER _x", "przelew", "10", {}, {});
        add("FR", "1/01/2023", QDate(2023, 1, 5), "Jan Kowalski", {}, "7.25", {}, "7.25");
    }

    // A stored document: its gross amount is net + 7 % VAT rounded; the amount to pay is the gross
    // less the deduction.
    void add(const QString& kind, const QString& numer, const QDate& date, const QString& name, const QString& form,
             const char* brutto, const char* potracenie, const char* zaplacono)
    {
        const Decimal b = dec(brutto);
        const Decimal vat = (b * dec("0.07")).rounded(2);
        const OptDecimal pot = potracenie ? OptDecimal(dec(potracenie)) : std::nullopt;
        t.db().execute("INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Datasprz, Nazkon, PlatFor, PlatDni, "
                       "RazNetto, RazVAT, RazBrutto, Potracenie, DoZaplaty, Zaplacono, Fundusz) "
                       "VALUES (0, ?, ?, ?, ?, ?, ?, 14, ?, ?, ?, ?, ?, ?, ?)",
                       {kind, numer, date, date, name, form, b - vat, vat, b, pot, b - pot.value_or(Decimal()),
                        zaplacono ? OptDecimal(dec(zaplacono)) : std::nullopt,
                        pot ? QStringLiteral("Fundusz Promocji Ziarna Zbóż") : QString()});
    }
    db::Database& db() { return t.db(); }
};
