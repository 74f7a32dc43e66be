#pragma once
#include <QString>
#include <optional>

// The one-line reference by which programs of the family hand a stored document to one another:
// ">Wirlan Data|" code "|" database path "|" password "|" kind (3 characters) "|" number.
// The sender names its own database; the receiver opens it and reads the document itself.
struct HandOver {
    QString programCode;  // two letters: "FR" this program, "FA", "ZM", "MG" its siblings
    QString databaseFile;
    QString haslo;
    QString inddok;  // as written: the kind padded with blanks to three characters
    QString numer;

    // The kind without its padding ("FR", "KFR", "WZ").
    QString kind() const { return inddok.trimmed(); }
    // The document as the paste command offers it: "FR Nr 7/05/2024".
    QString nazwa() const { return kind() + QStringLiteral(" Nr ") + numer; }
};

// The text for `h`; empty when it cannot be carried (a path or password holding "|", a kind
// longer than three characters, no number).
QString handOverText(const HandOver& h);

// Reads a hand-over text; nothing unless it is well formed: the marker, a two-letter code, a
// database path, a three-character kind and a number.
std::optional<HandOver> parseHandOver(const QString& text);
