#pragma once
#include "documents/validation.h"
#include <QString>
#include <optional>

class App;

// The outcome of a save: the number the document was stored under (it may be taken at the
// moment of saving) or, after a refusal, the control to focus.
struct SaveResult {
    bool ok = false;
    QString numer;
    std::optional<CheckFault> fault;
};

// Stores the document held in this workstation's buffer (the header row in dodok, the positions
// in dopoz and, for a correction, dokor) as a stored document in fadok and fapoz.
//
// It validates the document first (validation.h) and asks before replacing a stored document of
// another number. Then, in one writer transaction (BEGIN IMMEDIATE, so that two workstations are
// served one after the other):
//  - takes the number when it is numbered automatically and cannot be edited, from the stored
//    documents as they are now; a number that cannot be taken stops the save;
//  - checks again that it replaces only what it may (a document stored meanwhile under the same
//    number brings the question back), and that no other stored correction names the same
//    corrected document;
//  - replaces the stored rows of that number: the header (a document re-saved under its own number
//    keeps its paid amount), the named rows of dopoz and, for a correction, the named rows of dokor
//    with their quantities and values negated. The buffers themselves are not changed.
// Refuses to save while the database carries the read-only lock. A database error is reported
// as "ZapiszDokument" and rolls everything back.
SaveResult ZapiszDokument(App& app, const EditState& state);
