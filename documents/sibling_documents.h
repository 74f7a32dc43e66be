#pragma once
#include "documents/hand_over_text.h"
#include "documents/loading.h"
#include "documents/positions.h"
#include <QString>
#include <optional>
#include <vector>

class App;

// Documents of the family's other programs, taken over through a hand-over text: the warehouse
// ("MG": mgdok, mgpoz), the sibling invoicing program ("FA": fadok, fapoz) and the orders program
// ("ZM": zmdok, zmpoz). Each is read from the sender's own database file, which the text names:
// opened read-only with the text's password and never created; when it is the file open here,
// through that connection. The family keeps values as this program does (amounts as scaled
// integers, dates as ISO text); an amount, a number or a date kept otherwise (a text, a fraction
// of a unit) is reported as an error and nothing is taken over.

// What a take-over puts into the document being edited. The dates are texts for the form's date
// fields; a field the sender's kind leaves as it is, is nullopt.
struct SiblingDocument {
    QString Datawyst;
    QString Datasprz;
    QString Nazkon;
    QString Adrkon;
    QString Nipkon;
    std::optional<QString> Podstawa;
    std::optional<QString> Wydane;
    // For dopoz, in the sender's order of position numbers, numbered 1..n.
    std::vector<Position> pozycje;
    // The reader's name, the place of an error with this document.
    QString sourceFile;
};

// Each reads the document that `h` names, header and positions in one read, and changes nothing
// here. nullopt when the sender has no such document (no message) or after an error (reported
// under the reader's name: a missing file, a wrong password, a missing table or column).
//  - warehouse: by kind and number; both dates from Data; a "WZ" fills Wydane with "WZ Nr <number>";
//  - invoicing: by number; Datawyst, Datasprz, Podstawa and Wydane as stored;
//  - orders: by number; both dates from Datawyst; a "ZAM" fills Podstawa with "Zamówienie Nr
//    <number>"; its positions carry no VAT, so they get the code "22" and values computed as
//    the position grid computes them.
std::optional<SiblingDocument> WczytajZMagazynu(App& app, const HandOver& h);
std::optional<SiblingDocument> WczytajZRolkwit(App& app, const HandOver& h);
std::optional<SiblingDocument> WczytajZZamowienia(App& app, const HandOver& h);
// The reader of the text's program code; nullopt for any other code ("FR", this program's own,
// included: its documents are loaded from the database open here).
std::optional<SiblingDocument> readFromSiblingProgram(App& app, const HandOver& h);

// Replaces this workstation's position buffers with the document's positions, dokor emptied,
// and its buffered header with the document being written (`formularz`) as the form shows it
// after taking over the dates, the seller, the basis fields and the totals of the rows, all in
// one transaction (on an archive database the rows are only given back). nullopt when no
// database is open, or after an error reported under the document's reader, the buffers left
// as they were.
std::optional<LoadedDocument> takeOverPositions(App& app, const SiblingDocument& d, const DocHeader& formularz);
