#pragma once
#include "documents/doc_header.h"
#include "documents/edit_state.h"
#include <optional>

class App;

// This workstation's buffer of the document being edited: one header row in dodok, positions in
// dopoz and (corrections) dokor, all keyed by App::gStanowisko. The grids write the positions
// through at once; the header is written only by ZapiszDoBufora. The buffer survives a restart.
// On an archive database (the read-only lock, gBazaPar.BazaOdczyt) nothing here writes.

// Replaces this workstation's dodok row with `header` in one transaction, so a failure leaves
// the previous row whole. An invoice writes no correction columns; a document without a fund
// writes Fundusz as one space. The header's own Stanowisko is ignored. Reports a database error
// as "ZapiszDoBufora"; false when no database is open, it is an archive, or the write failed.
bool ZapiszDoBufora(App& app, const DocHeader& header);

// The same write without its own error handling, for a caller whose transaction it joins (a load
// that replaces the whole buffer at once). Throws AppError.
void bufferHeader(App& app, const DocHeader& header);

// This workstation's buffered header; nullopt when there is none, no database is open or the
// read failed (reported as "OdczytZBufora").
std::optional<DocHeader> OdczytZBufora(App& app);

// Deletes this workstation's rows of both position buffers. Throws AppError.
void WyczyscPozycje(App& app);

// True unless some dopoz row of this workstation has a name; false when no database is open.
// Throws AppError on a database failure.
bool BuforPusty(App& app);

// The database part of a new document: empties both position buffers and seeds
// gPrgPar.TabPozLicz empty rows numbered from 1 in dopoz and, for a correction, in dokor; the
// buffered header and the kept edit go in the same transaction, so that a crash while the new
// document is typed never brings back another document's header or edit. False when nothing was
// written (no database, or an archive). Throws AppError.
bool bufferNewDocument(App& app, bool korekta);

// Which stored document the buffer holds for editing under its own number (an EditState that is
// no edit forgets it). It is kept in dopopr, a table of its own beside the buffer tables (those
// keep the stored tables' columns), and written in the transaction that writes the buffer it
// belongs to (joined when one is open). The database file is not kept: it is the file that
// holds the row, whatever path reaches it. A file made before the table existed gets it here:
// one statement that changes nothing when another workstation made it first, and that a
// program made before the table leaves alone. Throws AppError.
void bufferEditState(App& app, const EditState& state);

// Forgets the kept edit when it is the edit of stored document `numer` (deleted here). Throws
// AppError.
void forgetBufferedEdit(App& app, const QString& numer);

// The edit that the buffered header `h` belongs to, for the database open now; no edit (a new
// document) when none is kept, when the kept one names another number than `h` (the buffer was
// rewritten without it), when the file has no such table or the read failed (reported as
// "OdczytZBufora").
EditState bufferedEditState(App& app, const DocHeader& h);

// True when the open database holds no stored document; false when none is open.
bool BazaPusta(App& app);
