#pragma once
#include "documents/doc_header.h"
#include "documents/edit_state.h"
#include "documents/form_field.h"
#include "documents/positions.h"
#include <QString>
#include <optional>
#include <vector>

class App;

// The checks a document passes before it is stored. Each check stops at the first fault and
// gives one message that names it and says how to put it right (the window shows it with the
// exclamation icon) and the control that gets the focus. Nothing here writes to the database.

// A refusal: the message, the field to focus (none: the focus stays) and, for a position fault,
// the grid row to make current.
struct CheckFault {
    QString message;
    std::optional<FormField> focus;
    int row = -1;
};

// The message of a document without a number (a number of blanks is none either).
QString missingNumberMessage();

// The support mailbox named in the messages about wrong totals.
QString helpAddress(const App& app);

// Header checks: number, dates, seller, payment form, a correction's corrected document, a
// number that could not be proposed, a zero gross total (an empty total counts as 0).
// `numerZapisu` says whether the typed number is the one to be stored (false when the number is
// taken at the moment of saving). nullopt when the header passes.
std::optional<CheckFault> checkHeader(const DocHeader& h, bool numerZapisu);

// Position rows of both buffers and the totals. A row without a name is an empty line when it
// carries no value, and is refused when it does (in either buffer); a named row of dopoz needs a
// unit, a VAT code and a net value. A row of dopoz in `erasedRows` (its name erased), without a
// value, is checked once as a named row would be: its id leaves the set as the check passes it,
// so the next check takes it for an empty line. The gross total recomputed from the rows (rows
// after less rows before for a correction) must equal the form's, and net + VAT must equal gross.
std::optional<CheckFault> checkPositions(const App& app, const DocHeader& h, const std::vector<Position>& dopoz,
                                         const std::vector<Position>& dokor, std::set<qint64>* erasedRows = nullptr);

// True when the document is edited under its own number `numer`: it was loaded for editing
// under that very number. A new document, a copy, or an edited document whose number was changed
// must ask before replacing another. (The save also checks that the stored row is still the one
// that was loaded.)
bool isOwnNumber(const EditState& state, const QString& numer);

// The question asked before a stored document is replaced (Yes and No, No the default).
QString replaceQuestion(const QString& numer);
// The question asked before a document edited under its number is stored again after another
// workstation deleted it.
QString deletedMeanwhileQuestion(const QString& numer);
// The question asked before a document edited under its number `numer` replaces itself as another
// workstation renumbered it meanwhile (to `nowy`).
QString renumberedQuestion(const QString& numer, const QString& nowy);
