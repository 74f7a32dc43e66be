#pragma once
#include "documents/position_math.h"
#include "documents/record_columns.h"
#include "platform/database.h"
#include "platform/decimal.h"
#include <QDate>
#include <QFlags>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The header of one document, as a row of dodok (this workstation's buffer) or fadok (stored
// documents) holds it; both tables have the same columns in the same order. Empty texts stand
// for NULL, an invalid QDate for a missing date, nullopt for a missing amount.
//
// The document form maps its controls to and from this struct; the buffer (buffer.h), the save
// and the loaders move it to and from the database.
struct DocHeader {
    int Stanowisko = 0;
    QString Inddok = QStringLiteral("FR");  // "FR" invoice, "KFR" correction
    QString Numer;
    QDate Datawyst;
    QDate Datasprz;
    QString KorInddok;  // the corrected document (corrections only)
    QString KorNumer;
    QDate KorDatawyst;
    QString Podstawa;
    QString Wydane;
    QString Nazkon;  // the seller (a flat-rate farmer)
    QString Adrkon;
    QString Nipkon;
    QString Nazdok;  // the seller's identity document
    QString Numdok;
    QString Wyddok;
    QDate Datadok;
    OptDecimal RazNetto;
    OptDecimal RazVAT;
    OptDecimal RazBrutto;
    OptDecimal Potracenie;  // fund deduction; none without a fund
    OptDecimal DoZaplaty;
    QString PlatFor;
    std::optional<int> PlatDni;
    QString PlatTer;
    QString PlatRach;
    QString Wystawil;
    QString Uwagi;
    QString Fundusz;       // the fund's name; empty when no fund is chosen
    OptDecimal Zaplacono;  // stored documents: the amount marked paid

    // The parts of a header that a load or the restore of the buffer shows; the rest of the
    // document being written stays as it is.
    enum Part {
        KindPart = 0x1,  // the kind and, for a correction, the corrected document
        NumberPart = 0x2,
        DatesPart = 0x4,  // the issue and sale dates
        TextsPart = 0x8,  // seller, identity document, basis, payment, notes and the fund
        TotalsPart = 0x10,
        IssuerPart = 0x20,
        NumberAndDatesPart = NumberPart | DatesPart,
        WholeHeader = 0x3f,
    };
    Q_DECLARE_FLAGS(Parts, Part)
    // This header with the `parts` of `from`, as the form shows it once they are set: an invoice
    // names no corrected document; with the payment fields, a term that is a date gives the days
    // from the issue date; new dates alone move a dated term with the days.
    DocHeader with(const DocHeader& from, Parts parts) const;

    bool operator==(const DocHeader&) const = default;
    bool isCorrection() const { return Inddok == QLatin1String("KFR"); }
    // Takes the totals, the deduction and the amount to pay.
    void setTotals(const Totals& t);

    // The table's columns in table order, and this header's values in that order; both come from
    // one declaration of the columns (doc_header.cpp), as do the insert and the reader.
    static const QStringList& columns();
    static const std::vector<StoredKind>& columnKinds();
    std::vector<db::Value> values() const;
    // The statement that adds a whole header to dodok or fadok; it binds values().
    static QString insertStatement(const QString& table);
    // Reads a row of dodok or fadok (SELECT *); missing columns keep their defaults. An amount or
    // a count that the program cannot have stored throws AppError 13.
    static DocHeader fromRow(const db::Row& row);
    // The header stored under `numer` (fadok) or buffered by workstation `stanowisko` (dodok), as
    // its row holds it; nullopt when there is none. Throw AppError.
    static std::optional<DocHeader> stored(db::Database& db, const QString& numer);
    static std::optional<DocHeader> buffered(db::Database& db, int stanowisko);
    // A fund stored as one space (none chosen) becomes an empty name.
    void clearBlankFund()
    {
        if (Fundusz.trimmed().isEmpty()) Fundusz.clear();
    }
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DocHeader::Parts)
