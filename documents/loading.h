#pragma once
#include "documents/doc_header.h"
#include <QString>
#include <optional>

class App;

// Loading a stored document (its fadok row and fapoz rows) back into this workstation's position
// buffers. Each loader reads everything it needs first and only then replaces both buffers in
// one transaction, so a failed load changes nothing. The loaders give the stored header; the
// editor shows the fields that its mode asks for. Errors are reported under the loader's name.
// A number that is not stored gives nullopt without a message.

// The modes of WczytajDokument: "popraw" edits the stored document under its own kind and
// number; any other text (the callers pass "nowy") copies it into the document being written.
inline const QString kTrybPopraw = QStringLiteral("popraw");

// Loads document `numer`: dopoz gets its rows as they are after any correction, dokor the
// corrected rows of a stored correction with quantities and values positive again.
// In the mode "popraw" the header carries the stored totals. In any other mode the totals are
// recomputed from the loaded rows for the kind of the document being written (`rodzajEdytora`),
// with the deduction when the stored document has a fund: the copy of a correction into an
// invoice takes its rows after the correction, not the correction's differences.
std::optional<DocHeader> WczytajDokument(App& app, const QString& tryb, const QString& numer,
                                         const QString& rodzajEdytora);

// Replaces the buffers with the positions of document `numer`: dopoz its uncorrected rows and,
// `zKorekta`, dokor its corrected rows made positive again (else dokor is emptied). A number
// without positions leaves both buffers empty. False after a reported error.
bool WczytajPozycje(App& app, const QString& numer, bool zKorekta);

// Loads invoice `numer` as the document that the correction being written corrects: both
// buffers get its positions as stored, so the correction's differences start at zero.
std::optional<DocHeader> WczytajKorygowany(App& app, const QString& numer);

// Whether document `numer` is stored. False without a database or after a reported error.
bool DokumentZapisany(App& app, const QString& numer);
