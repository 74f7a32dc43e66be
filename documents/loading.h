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
// the loader only gives the rows, for the editor to show. The loaders give the stored header; the
// editor shows the fields that its mode asks for. Errors are reported under the loader's name.
// A number that is not stored gives nullopt without a message.

// The positions a load gave: dopoz's and dokor's rows as the buffers now hold them (or, on an
// archive database, as they are to be shown).
struct LoadedRows {
    std::vector<Position> dopoz;
    std::vector<Position> dokor;
    bool buffered = false;  // written into the buffers (false on an archive database)
};

// A loaded document: its stored header, its rows, and its identity as it was read.
struct LoadedDocument {
    DocHeader header;
    StoredIdentity tozsamosc;
    LoadedRows rows;
};

// Replaces this workstation's dopoz and dokor rows with the given rows in one transaction, each
// row's id then naming its buffer row; with `naglowek`, the buffered header in the same
// transaction, so that the buffer never holds one document's header with another's rows. On an
// archive database nothing is written and the rows are only given back to be shown. Throws
// AppError, the buffers then left as they were.
LoadedRows ZastapBufory(App& app, std::vector<Position> dopoz, std::vector<Position> dokor,
                        const DocHeader* naglowek = nullptr);

// The modes of WczytajDokument: "popraw" edits the stored document under its own kind and
// number; any other text (the callers pass "nowy") copies it into the document being written.
inline const QString kTrybPopraw = QStringLiteral("popraw");

// Loads document `numer`: dopoz gets its rows as they are after any correction, dokor the
// corrected rows of a stored correction with quantities and values positive again; in the mode
// "popraw" the buffered header (dodok) gets its header in the same transaction.
// In the mode "popraw" the header carries the stored totals. In any other mode the totals are
// recomputed from the loaded rows for the kind of the document being written (`rodzajEdytora`),
// with the deduction when the stored document has a fund: the copy of a correction into an
// invoice takes its rows after the correction, not the correction's differences.
std::optional<LoadedDocument> WczytajDokument(App& app, const QString& tryb, const QString& numer,
                                              const QString& rodzajEdytora);

// Replaces the buffers with the positions of document `numer`: dopoz its uncorrected rows and,
// `zKorekta`, dokor its corrected rows made positive again (else dokor is emptied). A number
// without positions leaves both buffers empty. nullopt after a reported error.
std::optional<LoadedRows> WczytajPozycje(App& app, const QString& numer, bool zKorekta);

// Loads invoice `numer` as the document that the correction being written corrects: both
// buffers get its positions as stored, so the correction's differences start at zero.
std::optional<LoadedDocument> WczytajKorygowany(App& app, const QString& numer);

// Whether document `numer` is stored. False without a database or after a reported error.
bool DokumentZapisany(App& app, const QString& numer);
