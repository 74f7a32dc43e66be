#pragma once
#include "register/register_queries.h"
#include <QString>
#include <QStringList>
#include <array>

// The chart's data grid: a row per month (January first) and two to four labelled columns. It
// keeps what was last written into it; the chart page draws it.
struct ChartGrid {
    static constexpr int kMaxColumns = 4;
    QStringList labels = {QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3"), QStringLiteral("C4")};
    std::array<std::array<double, kMaxColumns>, 12> values{};

    int columns() const { return int(labels.size()); }
};

// The chart kinds of the list "Rodzaj wykresu": key and text.
const ListItems& chartKinds();

// No year chosen: every month of every column becomes 0; the columns stay as they are.
void chartZero(ChartGrid& grid);
// Writes the twelve months of `kind`: "B" gross, net and VAT; "Z" gross and paid; "N" gross and
// the amount still to pay (amount to pay less paid). Any other kind leaves the grid as it is.
void chartFill(ChartGrid& grid, const QString& kind, const std::array<MonthSums, 12>& months);
