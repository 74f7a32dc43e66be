#pragma once
#include <QString>
#include <QStringList>
#include <memory>

class App;
namespace report {
class Report;
}

// Every printed document goes through one print request: "podglad" shows it on the preview
// page, "drukuj" prints it, "zapisz" saves it as a PDF file the user names, "wyslij" sends it
// by e-mail. The document is named by the print values (print_state.h).

// Keeps up to eight print values (the document's label and its number first) and carries out
// the request with one copy of all pages. Errors are reported as "ReportPrint".
void ReportPrint(App& app, const QString& action, const QString& kind, const QString& templ, const QString& title,
                 const QStringList& values = {});

// Carries out the request on the print values already kept. True when the report was built and
// its action done, also when the user cancelled the save dialog or the sending choice; false
// when there was no data, no query or no report object for the template, when a file could not
// be written or no mail program took the message, and after an error (reported as
// "RepPrint:" and the action). Copies, collation and the page range (first page 0: all) are
// read only by "drukuj".
bool RepPrint(App& app, const QString& action, const QString& kind, const QString& templ, QString title, int copies = 1,
              bool collate = false, int firstPage = 0, int lastPage = 0);

// The report of the document of the print values for template `templ`, with its data, header
// lines and texts; `title` gains the first header line. When the template has no query or
// report object, or the document no rows, says so and gives none. Database errors are thrown.
std::shared_ptr<report::Report> documentReport(App& app, const QString& kind, const QString& templ, QString& title);

// Sets the preview's zoom from the preview toolbar's pressed zoom button.
void PodgladZoom(App& app);

// The file name proposed for a document: its label with the characters a file name cannot hold
// ("/" above all, as in "FR  7/05/2024") replaced by "-", and ".pdf".
QString documentFileName(const QString& label);
