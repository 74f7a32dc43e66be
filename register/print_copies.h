#pragma once
#include <QString>
#include <optional>

class App;

// A document of the document list: its label (the kind, two blanks and the number) and its
// number, both empty when no row is current.
struct ListedDocument {
    QString text;
    QString numer;
};

// Printing a stored document after the printer dialog, which proposes the number of copies
// printed last ("DrukKopie", at least 1) and lets the user choose copies, collation and pages.

// Prints the document of the document list's selected row (none: the list holds no rows); with
// "Oryginał + Kopia" on and no page range chosen, twice in one job: marked "ORYGINAŁ", then "KOPIA".
void DokumentDrukuj(App& app, const std::optional<ListedDocument>& document);
// Prints document `numer` of kind `inddok` from the register: always one run.
void KartotekaDrukuj(App& app, const QString& inddok, const QString& numer);
// The register's "Wyślij..." ("wyslij") and "Zapisz jako..." ("zapisz") of document `numer`;
// `datawyst` is the issue date as the register shows it. The document is labelled as in the
// document list, so the proposed file name is the document's own.
bool KartotekaRepPrint(App& app, const QString& action, const QString& inddok, const QString& numer,
                       const QString& datawyst);
// The document list's "Wyślij..." ("wyslij") and "Zapisz jako..." ("zapisz") of its selected row.
bool DokumentRepPrint(App& app, const ListedDocument& document, const QString& action);
