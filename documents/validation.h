#pragma once
#include "documents/doc_header.h"
#include "documents/positions.h"
#include <QString>
#include <optional>
#include <vector>

class App;

// The checks a document passes before it is stored. Each check stops at the first fault, shows
// one exclamation message that names it and says how to put it right, and tells which control
// gets the focus. Nothing here writes to the database.

// The editor's state that the save needs besides the buffered document.
struct EditState {
    bool poprawa = false;   // a stored document is edited under its own number ("[Poprawa]")
    QString numerWczytany;  // the number it was loaded under
};

// A refusal: the object name of the control to focus (empty: none) and, for a position fault,
// the grid row to make current.
struct CheckFault {
    QString focus;
    int row = -1;
};

// The support mailbox named in the messages about wrong totals.
QString AdresPomocy(const App& app);

// Header checks: number, dates, seller, payment form, a correction's corrected document, a
// number that could not be proposed, a zero gross total (an empty total counts as 0).
// `numerZapisu` says whether the typed number is the one to be stored (false when the number is
// taken at the moment of saving). nullopt when the header passes.
std::optional<CheckFault> SprawdzNaglowek(const DocHeader& h, bool numerZapisu);

// Position rows of both buffers and the totals. A row without a name is an empty line when it
// carries no value, and is refused when it does (in either buffer); a named row of dopoz needs a
// unit, a VAT code and a net value. The gross total recomputed from the rows (rows after less
// rows before for a correction) must equal the form's, and net + VAT must equal gross.
std::optional<CheckFault> SprawdzPozycje(const App& app, const DocHeader& h, const std::vector<Position>& dopoz,
                                         const std::vector<Position>& dokor);

// True when the document may replace the stored document `numer` without a question: it is
// that stored document, loaded for editing under that very number. A new document, a copy, or
// an edited document whose number was changed must ask before replacing another.
bool WlasnyNumer(const EditState& state, const QString& numer);

// Asks before a stored document is replaced; true on Yes (No is the default button).
bool PytanieZastapic(const QString& numer);
