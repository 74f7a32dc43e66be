#pragma once
#include <QString>
#include <QStringList>

class App;
class QListWidget;

// What the editor asks of the register, the chart and the print pipeline.

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

// Builds the report of one document and previews, prints, saves or sends it.
void ReportPrint(App& app, const QString& action, const QString& kind, const QString& templ,
                 const QString& title, const QStringList& values = {});
// Prints the document selected in the document list.
void DokumentDrukuj(App& app);
// Prints the document of the given kind and number (the register's current row).
void KartotekaDrukuj(App& app, const QString& kind, const QString& number);
// Fills the print options list beside the preview.
void PanelDrukuPokaz(App& app, const QString& title, QListWidget* lstPardruk);
