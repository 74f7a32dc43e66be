#pragma once
#include <QString>
#include <optional>

// The one-line reference by which programs of the family hand a stored document to one another:
// ">Wirlan Data|" code "|" database path "|" password "|" kind (3 characters) "|" number.
// The sender names its own database; the receiver opens it and reads the document itself.
// Every program of the family reads the path and the password up to the next "|", so neither
// can carry one: such a text is refused when written and when read, with one message.
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
// longer than three characters, no number, or anything else the reader would not read back as
// written). When it is refused for a reason the user can mend, `refusal` gets what to tell
// them: for a password, the message the reader gives.
QString handOverText(const HandOver& h, QString* refusal = nullptr);

// Reads a hand-over text; nothing unless it is well formed: the marker, a two-letter code, a
// database path, a three-character kind and a number (the rest of the line, "|" included). A text
// that reads well only with a "|" in its password, or that reads well in more than one way, is
// refused: `refusal` then gets the message the writer gives for such a password.
std::optional<HandOver> parseHandOver(const QString& text, QString* refusal = nullptr);
