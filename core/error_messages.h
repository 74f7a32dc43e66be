#pragma once
#include <QDateTime>
#include <QString>

class App;

// The error being reported: read from the exception in flight.
struct ErrorInfo {
    long number = 0;
    QString source;
    QString description;  // with the engine's own words after it, for the details and the log
};
ErrorInfo currentErrorInfo(const App& app);

// The section of "Errormsg.txt" for an error: "DAO" for the database engine's errors,
// "Program" for the program's own, else the source's own section when the file has one.
QString errorSection(const App& app, const ErrorInfo& error);
// The Polish explanation of an error from "Errormsg.txt" beside the program; a generic text
// with the support footer when the file has none, a note naming the file when it is missing.
QString ErrorMsgRead(const App& app, const QString& section, long number);

// One entry of "Error.log". The section is named by the date and time; a second error in the
// same minute gets the next free " (n)" suffix so that both stay. Returns the section used,
// empty when the file could not be written.
struct ErrorLogEntry {
    QString program;  // "Rolkwit ver. 3.5.12"
    QString source;
    QString number;
    QString obiekt;
    QString opis;
};
QString writeErrorLogEntry(const QString& file, const ErrorLogEntry& entry, const QDateTime& when);
