#pragma once
#include <QString>

class App;

// The document named by the print values as an e-mail message: the HTML template beside the
// program ("Szablon Rolkwit.eml" for an invoice, "Szablon korekty rr.eml" for a correction) with
// its placeholders filled from the report's data, one row per position and one per VAT rate,
// written into the user's data folder in the template's single-byte character set (ISO-8859-2),
// as "fakturarr.eml" or, when that is there, the first free "fakturarr-2.eml", "fakturarr-3.eml"...
// (an earlier message is never replaced). Gives the message's path, or "" when no message was made: a report kind other
// than "FANET", a missing template (said in a message), no such document, or a reported error.
QString ReportMail(App& app, const QString& kind, const QString& templ);

// The quoted-printable escapes of the templates' body: "=" as "=3D", the six Polish letters whose
// codes differ between the Windows and the ISO character sets (Ą ą Ś ś Ź ź) as their ISO-8859-2
// codes, "®" left out. Everything else stays as it is.
QString KodujQP(const QString& text);

// A value for the message's HTML body: markup characters as entities, line breaks as <BR>,
// control characters left out, characters the message's character set lacks as numeric
// references, then KodujQP.
QString htmlQuotedPrintable(const QString& text);
