#include "register/report_sql.h"
#include "documents/positions.h"

namespace {

// The header's columns from fadok, then the position's own from fapoz: whether it is a corrected
// row and what the grids show.
QStringList documentColumns()
{
    QStringList out;
    for (const QString& c : DocHeader::columns()) out << QStringLiteral("fadok.") + c;
    for (const QString& c : PositionKey::columns() + Position::columns())
        if (!DocHeader::columns().contains(c)) out << QStringLiteral("fapoz.") + c;
    return out;
}

}  // namespace

ReportQuery documentQuery(const QString& numer, bool tylkoRoznice)
{
    ReportQuery q;
    q.sql = QStringLiteral("SELECT %1 FROM fadok, fapoz WHERE fadok.Numer = fapoz.Numer AND fadok.Numer = ?")
                .arg(documentColumns().join(u", "));
    q.params = {numer};
    if (tylkoRoznice) {
        // The corrected row is stored negated, so equal quantities sum to zero.
        q.sql += QStringLiteral(
            " AND fapoz.Pozycja IN (SELECT Pozycja FROM fapoz WHERE Numer = ? GROUP BY Pozycja HAVING NOT ("
            "count(*) = 2 AND sum(Korekta) = 1 AND total(Ilosc) = 0 AND count(Cenanet) = 2 "
            "AND min(Cenanet) = max(Cenanet) AND count(Indvat) <> 1 AND ifnull(min(Indvat), '') = ifnull(max(Indvat), "
            "'')))");
        q.params.push_back(numer);
    }
    q.sql += QStringLiteral(" ORDER BY fapoz.Korekta DESC, fapoz.Pozycja");
    return q;
}

std::vector<VatRateSum> vatRateSums(db::Database& db, const QString& numer)
{
    std::vector<VatRateSum> out;
    for (const db::Row& r :
         db.query(QStringLiteral("SELECT Indvat, sum(WartNetto), sum(WartVAT), sum(WartBrutto) FROM fapoz "
                                 "WHERE Numer = ? GROUP BY Indvat ORDER BY Indvat DESC"),
                  {numer}))
        out.push_back({r.at(0).toText(), r.at(1).toDecimal(), r.at(2).toDecimal(), r.at(3).toDecimal()});
    return out;
}
