#pragma once
#include "register/print_copies.h"
#include "register/print_options.h"
#include "register/print_pipeline.h"
#include <QString>
#include <QStringList>

class App;

// What the editor asks of the register, the chart and the print pipeline (printing is
// print_pipeline.h, print_copies.h and print_options.h).

// Lists the register again with its filters, and its sums row when shown. Throws AppError.
void KartotekaOdswiez(App& app);
// Recomputes and redraws the monthly chart. Throws AppError.
void WykresOdswiez(App& app);
// The register's and the chart's part of attaching a database: their lists read it, then the
// register and the chart are refreshed. A failure is reported and the attach goes on.
void attachRegister(App& app);
// After a document was stored: the month, payment-form and year lists are read again, then the
// register and the chart are refreshed. A failure is reported; the stored document stays.
void refreshRegisterAfterSave(App& app);
// Lets go of the database before it is closed or replaced.
void detachRegister(App& app);
// The database let go of stays open (no other was chosen): the register lists it again where it
// stood; the chart, which kept what it drew, stays as it is. A failure is reported.
void reattachRegister(App& app);
