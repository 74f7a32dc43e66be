#include "register/chart_data.h"

const ListItems& chartKinds()
{
    static const ListItems kinds = {{QStringLiteral("B"), QStringLiteral("Zakupy brutto + vat + netto")},
                                    {QStringLiteral("Z"), QStringLiteral("Zakupy brutto +  zapłacone")},
                                    {QStringLiteral("N"), QStringLiteral("Zakupy brutto + niezapłacone")}};
    return kinds;
}

void chartZero(ChartGrid& grid)
{
    for (auto& month : grid.values) month.fill(0.0);
}

void chartFill(ChartGrid& grid, const QString& kind, const std::array<MonthSums, 12>& months)
{
    QStringList labels;
    if (kind == QLatin1String("B"))
        labels = {QStringLiteral("Brutto"), QStringLiteral("Netto"), QStringLiteral("Kwota VAT")};
    else if (kind == QLatin1String("Z"))
        labels = {QStringLiteral("Brutto"), QStringLiteral("Zapłacone")};
    else if (kind == QLatin1String("N"))
        labels = {QStringLiteral("Brutto"), QStringLiteral("Niezapłacone")};
    else
        return;
    grid.labels = labels;
    for (size_t m = 0; m < months.size(); ++m) {
        const MonthSums& s = months[m];
        std::array<double, ChartGrid::kMaxColumns>& row = grid.values[m];
        row.fill(0.0);
        row[0] = s.brutto.toDouble();
        if (kind == QLatin1String("B")) {
            row[1] = s.netto.toDouble();
            row[2] = s.vat.toDouble();
        } else if (kind == QLatin1String("Z")) {
            row[1] = s.zaplacono.toDouble();
        } else {
            // Still to pay: measured against the amount to pay, which marking paid writes.
            row[1] = (s.doZaplaty - s.zaplacono).toDouble();
        }
    }
}
