#pragma once
#include <QDate>
#include <QString>
#include <vector>

// Dates on the form are shown and typed in the default locale's short date form (Polish, set at
// start), with a four-digit year.
QString shortDateFormat();
QString dateText(const QDate& d);
// Reads a typed date (the short form, or ISO); an invalid QDate when the text is not a date or
// its year lies outside 1900-2099 ("10.01.0024" is a mistyped year, not the year 24).
QDate textDate(const QString& text);

// The short date form read once and applied to many dates: the form's parts are looked at once,
// not at every date (a list of thousands of dates).
class DateWriter final {
public:
    DateWriter();
    // Appends date `d` as dateText() writes it, in UTF-8; nothing for an invalid date.
    void appendUtf8(const QDate& d, QByteArray& out) const;

private:
    enum class Part { Day, Day2, Month, Month2, Year, Year4, Text };
    struct Piece {
        Part part;
        QByteArray text;  // UTF-8
    };
    QString format_;
    std::vector<Piece> pieces_;
    bool plain_ = true;  // only numeric parts and literal text: written without the locale
};
