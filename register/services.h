#pragma once
#include "register/print_copies.h"
#include "register/print_options.h"
#include "register/print_pipeline.h"
#include <QString>
#include <QStringList>

class App;

// What the editor asks of the register, the chart and the print pipeline. The register and the
// chart do nothing yet; printing is print_pipeline.h, print_copies.h and print_options.h.

// Rebuilds the register's query from its filters and refreshes the register and its sums row.
void KartotekaOdswiez(App& app);
// Recomputes and redraws the monthly chart.
void WykresOdswiez(App& app);
