#pragma once
#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace db {
class Database;
}

// The dictionaries of the side list: the values used in the stored documents (contractors,
// payment forms and terms, products, units, VAT rates, remarks, issuers) and the calendar of
// dates around an anchor. Plain reads of the database; the side list shows what they give.
// Texts are told apart and ordered as the clerk reads them: without case, in Polish order.

struct DictionaryColumn {
    QString header;
    int width = 0;  // twips
    bool rightAligned = false;
};

struct DictionaryRow {
    QStringList texts;  // one per column
    bool bold = false;
    QColor colour;  // invalid: the list's own
};

struct Dictionary {
    QString mark;     // the kind the list carries while it shows this dictionary
    QString caption;  // the title above the list
    std::vector<DictionaryColumn> columns;
    std::vector<DictionaryRow> rows;
};

// Kinds of the side list, by which an entry is applied and a field accepts a drag.
namespace slownik {
inline const QString Kontrahenci = QStringLiteral("Kontrahenci");
inline const QString FormyPlatnosci = QStringLiteral("Formy płatności");
inline const QString Odroczenia = QStringLiteral("Odroczenia płatności");
inline const QString Terminy = QStringLiteral("Terminy płatności");
inline const QString Produkty = QStringLiteral("Produkty");
inline const QString Jednostki = QStringLiteral("Jednostki miary");
inline const QString StawkiVAT = QStringLiteral("Stawki podatku VAT");
inline const QString Uwagi = QStringLiteral("Uwagi");
inline const QString Wystawiajacy = QStringLiteral("Wystawiający");
// The issuers are asked for under this name and carry the kind above.
inline const QString Wystawil = QStringLiteral("Wystawil");
// The dates list is asked for under this name and carries the name of the field that asked.
inline const QString Daty = QStringLiteral("Daty");
inline const QString Datawyst = QStringLiteral("Datawyst");
inline const QString Datasprz = QStringLiteral("Datasprz");
inline const QString Dni = QStringLiteral("Dni");
// The anchor's row of the dates list shows this instead of its distance.
inline const QString Kotwica = QStringLiteral("<<<");
}  // namespace slownik

// The kind that dictionary `name` carries; empty when no stored dictionary has that name.
QString dictionaryMark(const QString& name);

// Reads dictionary `name` from the stored documents: its distinct values (texts that differ
// only in case count once), ordered by the first column. nullopt for a name that is no stored
// dictionary. Throws AppError when the database fails.
std::optional<Dictionary> readDictionary(db::Database& db, const QString& name);

// The days from `before` days before `anchor` to `after` days after it, marked `field`: the
// weekday, the date and the distance from the anchor ("<<<" on the anchor itself, which is
// bold); Saturdays green, Sundays red. Empty when the two together are negative.
Dictionary datesList(const QString& field, const QDate& anchor, int before, int after);
