#pragma once
#include "documents/doc_header.h"
#include "platform/database.h"
#include "platform/decimal.h"
#include <QString>
#include <optional>
#include <vector>

// The statements of the invoice report, every value bound.

struct ReportQuery {
    QString sql;
    std::vector<db::Value> params;
    bool isEmpty() const { return sql.isEmpty(); }
};

// One row per stored position of document `numer` with the document's header columns beside
// it; a correction's corrected rows (Korekta set) come first, then by position number. With
// `tylkoRoznice` a correction lists only the positions that the correction changes: a position
// is unchanged when it has its corrected and its corrected-to row and they agree in quantity,
// unit price and VAT rate.
ReportQuery documentQuery(const QString& numer, bool tylkoRoznice);

// The sums of one VAT rate code of a document (for a correction: the differences).
struct VatRateSum {
    QString kod;
    Decimal netto;
    Decimal vat;
    Decimal brutto;
};
// Every rate code of the document's positions, codes in descending text order.
std::vector<VatRateSum> vatRateSums(db::Database& db, const QString& numer);
