#pragma once
#include "documents/question.h"
#include <QString>

class App;
namespace db {
class Database;
}

// What a deletion ended with, and what to tell the user.
struct DeleteResult {
    enum Outcome {
        Deleted,    // the document is gone from the stored documents
        Missing,    // no document was stored under the number any more: nothing to delete
        Refused,    // `message` says why (the read-only lock, not the last number)
        Cancelled,  // the user said No
        Failed,     // a database error, reported as "UsunDokument" after the rollback
    } outcome = Cancelled;
    QString message;

    // The stored documents changed (or were found changed): the lists are to be read again.
    bool changed() const { return outcome == Deleted || outcome == Missing; }
};

// Deletes stored document `numer`: its header in fadok and every row of fapoz under the number,
// whatever their kind.
//
// Under automatic numbering only a document that no other document of its numbering period
// outnumbers may go, so that the numbers stay without gaps. `ask` gets the question first (Yes
// and No, No the default); when a stored correction names the document, the question says so.
// Then, in one writer transaction (BEGIN IMMEDIATE): the read-only lock and the number rule are
// checked again and both tables' rows are deleted. A document changed or corrected meanwhile
// ends the pass and the question is asked again about what is stored now. The question and every
// message come while no transaction is open. Nothing is deleted while the database carries the
// read-only lock.
DeleteResult UsunDokument(App& app, const QString& numer, const Question& ask);

// Deletes stored document `numer` as it stands, its header in fadok and every row of fapoz under
// the number, inside the caller's transaction; asks and checks nothing.
void deleteStoredDocument(db::Database& db, const QString& numer);
