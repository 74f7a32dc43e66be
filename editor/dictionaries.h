#pragma once
#include "platform/db_value.h"
#include <QByteArray>
#include <QByteArrayView>
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

// The rows of a dictionary: the texts of every row and column kept one after another in one
// buffer, in UTF-8 as the database gives them, so that thousands of rows are filled without an
// object each (a text is made when it is shown); the dates list's rows also carry their marks.
class DictionaryRows {
public:
    DictionaryRows() = default;
    explicit DictionaryRows(int columns) : columns_(columns) {}
    int size() const { return columns_ > 0 ? int(ends_.size()) / columns_ : 0; }
    int columns() const { return columns_; }
    QByteArrayView utf8(int row, int column) const;
    QString text(int row, int column) const { return QString::fromUtf8(utf8(row, column)); }
    QStringList texts(int row) const;
    bool bold(int row) const { return size_t(row) < looks_.size() && looks_[size_t(row)].bold; }
    QColor colour(int row) const { return size_t(row) < looks_.size() ? looks_[size_t(row)].colour : QColor(); }

    // Each column's text in turn: append it in UTF-8 to utf8(), then end the column.
    QByteArray& utf8() { return chars_; }
    void endColumn() { ends_.push_back(int(chars_.size())); }
    void add(const QString& text)
    {
        chars_ += text.toUtf8();
        endColumn();
    }
    // A copy of row `row` of `from`, which has as many columns.
    void addRow(const DictionaryRows& from, int row);
    // The row just ended carries these marks (the dates list).
    void mark(bool bold, const QColor& colour);
    // No rows, `columns` columns; the memory stays for the next rows.
    void clear(int columns);

private:
    struct Look {
        bool bold = false;
        QColor colour;  // invalid: the list's own
    };
    int columns_ = 0;
    QByteArray chars_;
    std::vector<int> ends_;  // where each text ends in chars_, row by row
    std::vector<Look> looks_;
};

struct Dictionary {
    QString mark;     // the kind the list carries while it shows this dictionary
    QString caption;  // the title above the list
    std::vector<DictionaryColumn> columns;
    DictionaryRows rows;
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

// The statement that reads dictionary `name` and its bound values; nullopt for a name that is no
// stored dictionary.
struct DictionaryQuery {
    QString sql;
    std::vector<db::Value> params;
};
std::optional<DictionaryQuery> dictionaryQuery(const QString& name);

// Reads dictionary `name` from the stored documents: its distinct values (texts that differ
// only in case count once), ordered by the first column. nullopt for a name that is no stored
// dictionary. Throws AppError when the database fails. The rows are read in steps of a statement
// each, of about `stepMs` (0: one key of the index, or one row, a step), so that the file's read
// lock is let go between them.
std::optional<Dictionary> readDictionary(db::Database& db, const QString& name, qint64 stepMs = 100);

// The days from `before` days before `anchor` to `after` days after it, marked `field`: the
// weekday, the date and the distance from the anchor ("<<<" on the anchor itself, which is
// bold); Saturdays green, Sundays red. Empty when the two together are negative.
Dictionary datesList(const QString& field, const QDate& anchor, int before, int after);
