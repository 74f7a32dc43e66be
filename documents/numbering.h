#pragma once
#include "platform/app_error.h"
#include <QDate>
#include <QString>
#include <optional>

class App;

// Document numbers. Invoices and corrections share one series, which restarts every month
// (NumMiesieczna) or every year. A number is rendered from the template NumSzablon:
// "Numer" is the running number, "/Miesiąc" the month in two digits, "/Rok[4]" and "/Rok[2]"
// the year in four or two digits, any other "/text" is copied ("Numer/Miesiąc/Rok[4]" gives
// "7/03/2024"). A number's running number is its leading digits: 12/03/2024 counts as 12.

// Reads NumSzablon, NumMiesieczna, NumAuto and NumEdycja of the open database into gBazaPar
// (missing ones are stored with their defaults).
void NumParRead(App& app);

// The numbering period of `date`, from its first day up to (not including) the first day of
// the next: its month under monthly numbering, else its year.
struct NumberingPeriod {
    QDate from;
    QDate to;
};
NumberingPeriod numberingPeriodOf(const App& app, const QDate& date);

// The highest stored number of the period of `date` in `table` (dated by `dateColumn`).
struct LastNumber {
    qint64 number = 0;  // its running number; 0 when the period has no document
    QDate date;         // its date; invalid when the period has no document
    QString text;       // the number rendered with the current template and its own date; empty when none
};
// nullopt when the look-up failed (reported as "NumerOstatni:<table>:<column>").
std::optional<LastNumber> NumerOstatni(App& app, const QString& table, const QString& dateColumn, const QDate& date);

// The proposed number for a document issued on `date`: the last number of its period + 1, or
// the first after it that no stored document holds, so that a number the program chose never
// names a stored document. An empty text when automatic numbering is off. nullopt when no number
// could be proposed: an invalid date, a failed look-up (reported), or a template without a
// running number whose one number is stored already (not reported: `brak`, when given, gets
// the message to show). Such a proposal must never be used as a number.
std::optional<QString> NumerNastepny(App& app, const QString& table, const QString& dateColumn, const QDate& date,
                                     QString* brak = nullptr);

// The same number of fadok for the save, which runs inside its transaction: a failure is thrown
// (AppError; NoFreeNumber when the template cannot give a number that is not stored) rather than
// reported, so that nothing is shown while the file is locked.
QString numberForSave(App& app, const QDate& date);

// The message when a template without a running number cannot give a number that is not stored.
QString noFreeNumberMessage(const QString& numer);
// Thrown when the template has no running number and its one number for the period is stored;
// the description is noFreeNumberMessage().
class NoFreeNumber final : public AppError {
public:
    explicit NoFreeNumber(const QString& numer);
};

// Renders one number from the template.
QString NumberUtworz(qint64 number, const QDate& date, const QString& szablon);

// The parts of a template as the document parameters dialog edits them: the second and third
// part lists (each "/Miesiąc", "/Rok[4]" or "/Rok[2]") and the free suffix. A part left empty
// here is one the dialog keeps as it was.
struct TemplateParts {
    std::optional<QString> part2;
    std::optional<QString> part3;
    std::optional<QString> suffix;
};
TemplateParts NumSzablonRozbierz(const QString& szablon);

// Joins the three part values and the suffix into a template:
// ("Numer", "/Miesiąc", "/Rok[4]", "") gives "Numer/Miesiąc/Rok[4]".
QString NumSzablonZloz(const QString& part1, const QString& part2, const QString& part3, const QString& suffix);
