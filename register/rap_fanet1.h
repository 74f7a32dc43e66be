#pragma once
#include "platform/database.h"
#include "platform/report.h"
#include <memory>
#include <vector>

// The printed invoice or correction (template "rapFANET1"): its page layout and how it shows the
// rows of its query. The texts that code sets (invoice_report.h) are named objects of it:
// nagRap1..nagRap5, rapPakiet, tytDokument, tytDoDokumentu, uwaStopka, txtSlownie, rapOryginal,
// rapKopia, txtWystawil, tytDuplikat, opisOtrzymal, txtOswNabywcy, txtPotracenie; its sections
// Section2 (page header with the logo picLogo), Section3 (one position) and Section18 (the
// buyer's statement) can be hidden.

// The template's layout with its own defaults: markings and duplicate mark hidden, no texts set.
std::shared_ptr<report::Report> invoiceTemplate();

// The template's data: the rows of the document's report query, read as the document's header
// and position, as its fields show them (amounts "#,##0.00", dates in the short date form, the
// quantity rounded to 3 places). A correction's corrected positions are shown as they were typed
// (the stored row negated back), and each row names its group ("Było przed korektą", "Winno być po korekcie"). A
// document without a deduction hides the deduction line.
void fillReportData(report::Report& report, const std::vector<db::Row>& rows);

// The name of the table the positions and the header fields read.
inline const QString kTabelaDokumentu = QStringLiteral("dokument");
// The name of the table of the VAT summary (columns Stawka, Netto, VAT, Brutto).
inline const QString kTabelaStawek = QStringLiteral("stawki");
