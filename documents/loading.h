#pragma once
#include "documents/doc_header.h"
#include "documents/edit_state.h"
#include "documents/positions.h"
#include <QString>
#include <optional>
#include <vector>

class App;

// Loading a stored document (its fadok row and fapoz rows) back into this workstation's position
// buffers. Each loader reads everything it needs in one read transaction and only then replaces
// both buffers in one transaction, so a failed load changes nothing. Rows are numbered 1..n in
// their stored order. On an archive database (the read-only lock) the buffers are not written:
// the loader only gives the rows, for the editor to show. Errors are reported under the loader's
// name. A number that is not stored gives nullopt without a message.
//
// Each loader is handed the header of the document being written as the form holds it and gives
// back the header the form shows after the load (that header with the parts the load takes);
// that header is buffered in the transaction that replaces the rows, so that after a crash the
// buffer holds one document, never an older header with the loaded rows.

// The positions a load gave: dopoz's and dokor's rows as the buffers now hold them (or, on an
// archive database, as they are to be shown).
struct LoadedRows {
    std::vector<Position> dopoz;
    std::vector<Position> dokor;
    bool buffered = false;  // written into the buffers (false on an archive database)
};

// A loaded document: the header to show (see above), the parts of it the load set, the stored
// document's identity as it was read, the edit it starts (a load for editing; kept with the
// buffer) and its rows.
struct LoadedDocument {
    DocHeader header;
    DocHeader::Parts parts;
    StoredIdentity storedIdentity;
    EditState edit;
    LoadedRows rows;
};

// Replaces this workstation's dopoz and dokor rows with the given rows, each row's id then
// naming its buffer row, and the buffered header with `naglowek`, all in one transaction; with
// `edit`, the edit kept with the buffer too (else it stays as it was). On an archive database
// nothing is written and the rows are only given back to be shown. Throws AppError, the buffers
// then left as they were.
LoadedRows replaceBuffers(App& app, std::vector<Position> dopoz, std::vector<Position> dokor, const DocHeader& naglowek,
                          const EditState* edit = nullptr);

// The document as the window shows it: the header, the rows of both position buffers and the
// edit, with the rows whose name was erased. The window keeps it, not only the file's buffer.
struct TypedDocument {
    DocHeader header;
    std::vector<Position> dopoz;
    std::vector<Position> dokor;
    EditState edit;
};

// Writes `doc` whole into this workstation's buffer of the open database, in one transaction
// replacing everything the buffer held (header, rows of both position buffers, the kept edit):
// for a file that the document was not typed into, or whose buffer no longer holds it (a copy
// put in its place). The rows of `doc` then carry their new ids, the erased rows following them.
// On an archive database nothing is written. Throws AppError, the buffer then left as it was.
LoadedRows bufferTypedDocument(App& app, TypedDocument& doc);

// True when this workstation's position buffers hold exactly the rows of `doc`, ids included.
// Throws AppError.
bool bufferHoldsRows(App& app, const TypedDocument& doc);

// The totals of the rows for a document of `h`'s kind (a correction counts the differences of
// dopoz against dokor), with the deduction when `h` has a fund. Throws AppError beyond the money
// range.
Totals positionTotals(const DocHeader& h, const std::vector<Position>& dopoz, const std::vector<Position>& dokor);

// The modes of WczytajDokument: "popraw" edits the stored document under its own kind and
// number; any other text (the callers pass "nowy") copies it into the document being written.
inline const QString kTrybPopraw = QStringLiteral("popraw");

// Loads document `numer`: dopoz gets its rows as they are after any correction, dokor the
// corrected rows of a stored correction with quantities and values positive again. In the mode
// "popraw" the header is the stored one whole, with its stored totals. In any other mode the
// document being written (`formularz`) keeps its kind, number, dates and corrected document and
// takes the stored texts and issuer; its totals are recomputed from the loaded rows for its own
// kind, with the deduction when the stored document has a fund: the copy of a correction into
// an invoice takes its rows after the correction, not the correction's differences.
// `brak`, when given, tells a number that is not stored from a reported error.
std::optional<LoadedDocument> WczytajDokument(App& app, const QString& tryb, const QString& numer,
                                              const DocHeader& formularz, bool* brak = nullptr);

// What a reference to a document of this program says when no document is stored under its
// number; `nazwa` names it as the paste offers it ("FR Nr 7/05/2024").
QString documentNotFoundMessage(const QString& nazwa);

// Replaces the buffers with the positions of document `numer`: dopoz its uncorrected rows and,
// `zKorekta`, dokor its corrected rows made positive again (else dokor is emptied, and the totals
// of `formularz` follow the loaded rows). A number without positions leaves both buffers empty.
// nullopt after a reported error.
std::optional<LoadedDocument> WczytajPozycje(App& app, const QString& numer, bool zKorekta, const DocHeader& formularz);

// Loads invoice `numer` as the document that the correction being written (`formularz`)
// corrects: both buffers get its positions as stored, so the correction's differences start at
// zero; the correction takes the invoice's texts (not its issuer) and its issue date as the
// corrected document's date.
std::optional<LoadedDocument> WczytajKorygowany(App& app, const QString& numer, const DocHeader& formularz);

// Whether document `numer` is stored. False without a database or after a reported error.
bool isDocumentStored(App& app, const QString& numer);
