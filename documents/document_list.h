#pragma once
#include "platform/decimal.h"
#include <QDate>
#include <QString>
#include <vector>

class App;

// A document's row text in the list: the kind, two blanks and the number.
inline QString rowText(const QString& inddok, const QString& numer)
{
    return inddok + QStringLiteral("  ") + numer;
}

// One stored document as the document list shows it.
struct DocumentListRow {
    QString Inddok;
    QString Numer;
    QDate Datawyst;
    QDate Datasprz;
    QString Nazkon;
    QString Adrkon;
    QString Nipkon;
    OptDecimal RazNetto;
    OptDecimal RazVAT;
    OptDecimal RazBrutto;
    QString Wystawil;

    // The row's text: the kind, two blanks and the number.
    QString text() const { return rowText(Inddok, Numer); }
};

// The text of the list's first row, which stands for a new, unsaved document.
inline const QString kNowyDokument = QStringLiteral("<Nowy dokument>");

// Every stored document, newest period first: by year, then month of the issue date, then by
// the running number (the number's leading digits), highest first. Throws AppError.
std::vector<DocumentListRow> ListaDokumentow(App& app);
