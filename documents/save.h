#pragma once
#include "documents/edit_state.h"
#include "documents/question.h"
#include "documents/validation.h"
#include <QString>
#include <functional>
#include <optional>
#include <set>

class App;

// The outcome of a save: the number the document was stored under (it may be taken at the
// moment of saving) or, after a refusal, what to tell the user and the control to focus.
struct SaveResult {
    bool ok = false;
    QString numer;
    std::optional<CheckFault> fault;
    // The rows of EditState::erasedRows that the checks have not reached yet.
    std::set<qint64> erasedRows;
};

// Stores the document held in this workstation's buffer (the header row in dodok, the positions
// in dopoz and, for a correction, dokor) as a stored document in fadok and fapoz.
//
// It validates the document first (validation.h). A stored document under its number is
// replaced only when it is the very document that `state` loaded for editing, unchanged since
// (the same row of the same database file, whatever its paid mark); any other one is replaced
// only after `ask` said Yes to the question about exactly that document. An edited document
// that is no longer stored under its number is stored again only after `ask` said Yes to the
// question saying so: deleted by another workstation, or renumbered there (found by its digest
// under the other number), when it replaces itself under that number, never stored twice. The question and every
// message come while no transaction is open. Then, in one writer transaction (BEGIN IMMEDIATE,
// so that two workstations are served one after the other):
//  - takes the number when it is numbered automatically and cannot be edited: the next number
//    of the period that no stored document holds; a number that cannot be taken stops the save;
//  - checks again what it replaces (a document stored or changed meanwhile under the number
//    ends the pass, and the question is asked before the next one), that a correction names a
//    stored document other than itself, and that no other stored correction names it;
//  - replaces the stored rows of that number: the header (the edited document keeps its paid
//    amount, any other is stored unpaid), the named rows of dopoz and, for a correction, the
//    named rows of dokor with their quantities and values negated, numbered 1..n in their
//    order. The buffers' rows are not changed; the buffered header takes the number used and
//    the buffer is kept as the edit of the stored document, so that a restart before the next
//    new document stores over it instead of storing it twice.
// Refuses to save while the database carries the read-only lock. A database error is reported
// as "ZapiszDokument" once everything is rolled back.
SaveResult ZapiszDokument(App& app, const EditState& state, const Question& ask);
