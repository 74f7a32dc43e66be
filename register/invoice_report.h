#pragma once
#include "platform/decimal.h"
#include "platform/report.h"
#include "register/report_sql.h"
#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class App;

// The invoice report: its query, its report object and the texts that the report cannot take
// from its rows. The document is the one named by the print values (print_state.h): the first
// begins with its kind, the second is its number.

// The report query of template `szablon` ("rapFANET1"; also "rapFANET2", which has no report
// object) for the document of the print values, with the header lines in `naglowki` (indices
// 1 to 5). For any other template an empty query and the list untouched. A correction is
// listed with only its changed positions when the option "DrukRoznice" is on.
ReportQuery RaportSQL(App& app, const QString& rodzaj, const QString& szablon, QStringList& naglowki);
// For the kind "dokument": indices 0 to 5, 1 to 5 the database's document header lines.
void RapNaglowki(App& app, QStringList& naglowki, const QString& rodzaj);
// A fresh report object of the template; none for a template without one.
std::shared_ptr<report::Report> RaportObiekt(const QString& szablon);
// Sets the document's texts on the report: title, corrected document, VAT summary, footer,
// amount in words, markings and print options, the buyer's statement and the deduction line.
void RaportFormuly(App& app, report::Report& raport, const QString& szablon);

// The VAT summary of the document by rate code; gives the sum of the gross sums.
Decimal RapStawkiVAT(App& app, const QString& rodzaj, const QString& numer, std::vector<VatRateSum>& stawki);
// The amount to pay; the net total, the deduction (0 when none) and the issue date beside it.
// 0 with the outputs untouched when there is no such document.
Decimal RapKwoty(App& app, const QString& rodzaj, const QString& numer, Decimal& netto, Decimal& potracenie,
                 QDate& datawyst);
// The seller as "name, zam. address"; "" when there is no such document.
QString RapSprzedawca(App& app, const QString& rodzaj, const QString& numer);
// The document's fund name; "" when none.
QString RapFundusz(App& app, const QString& rodzaj, const QString& numer);
// "do dokumentu: Faktura VAT RR Nr 1/05/2024 z dnia 06.05.2024" for a correction; "" otherwise.
QString DoDokumentu(App& app, const QString& rodzaj, const QString& numer);

// "Faktura VAT RR" for a kind beginning with "FR", otherwise "Korekta faktury VAT RR".
QString documentTitle(const QString& rodzaj);
// The document a correction corrects: "Faktura VAT RR Nr 1/05/2024 z dnia 06.05.2024".
QString correctedDocumentText(const DocHeader& h);

// The buyer's statement about the promotion fund with its slots filled in one pass, so that a
// value containing a slot's name stays as it is.
QString buyerStatement(const QString& nabywca, const QString& sprzedawca, Decimal potracenie, const QString& fundusz,
                       Decimal netto, const QString& numer, const QDate& datawyst);

// The page header with the database's logo; without one, the header lines move to the left edge.
void Section2_Format(App& app, report::Report& raport);
void RapWithoutLogo(App& app, report::Report& raport);
