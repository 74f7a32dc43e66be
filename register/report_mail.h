#pragma once
#include <QString>

class App;

// The document named by the print values as an e-mail message built from the HTML template of
// report kind `kind`; gives the path of the message file, or "" when no message was made.
QString ReportMail(App& app, const QString& kind, const QString& templ);
