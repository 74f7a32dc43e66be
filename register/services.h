#pragma once
#include <QString>
#include <QStringList>

class App;
class QListWidget;

// What the editor asks of the register, the chart and the print pipeline. They do nothing yet:
// the register, chart and report fill these in.

// Rebuilds the register's query from its filters and refreshes the register and its sums row.
void KartotekaOdswiez(App& app);
// Recomputes and redraws the monthly chart.
void WykresOdswiez(App& app);
// Builds the report of one document and previews, prints, saves or sends it.
void ReportPrint(App& app, const QString& action, const QString& kind, const QString& templ,
                 const QString& title, const QStringList& values = {});
// Prints the document selected in the document list.
void DokumentDrukuj(App& app);
// Fills the print options list beside the preview.
void PanelDrukuPokaz(App& app, const QString& title, QListWidget* lstPardruk);
