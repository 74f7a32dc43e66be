#pragma once
#include <QByteArray>
#include <QString>
#include <optional>
#include <set>

class App;
namespace db {
class Database;
}

// What tells one stored document from another that later took its number: the row of fadok
// and a digest of everything it held (header and positions), the paid amount excepted, since
// marking a document paid does not make it another document.
struct StoredIdentity {
    qint64 rowid = 0;
    QByteArray digest;
    bool operator==(const StoredIdentity&) const = default;
};

// The identity of stored document `numer` as it is now; nullopt when none is stored under it.
// Throws AppError on a database failure.
std::optional<StoredIdentity> storedIdentityOf(db::Database& db, const QString& numer);

// The number that stored document `identity` holds now, when another workstation gave it another
// one (in place, or storing it under that number and deleting it from its own): the stored
// document of seller `nazkon` with the same digest. nullopt when no document holds it. Throws
// AppError on a database failure.
std::optional<QString> renumberedTo(db::Database& db, const StoredIdentity& identity, const QString& nazkon);

// The editor's state that the save needs besides the buffered document: which stored document,
// if any, is being edited under its own number ("[Poprawa]"), from which database file, and
// what it was when it was loaded (empty for a new document or a copy); and the rows whose
// name was erased.
struct EditState {
    QString numer;  // the number it was loaded under
    QString baza;   // the database file it came from
    StoredIdentity storedIdentity;
    // Rows of dopoz (ids) whose name was typed and then erased: the save checks each once as a
    // named row, so that one without a value is refused once and skipped afterwards.
    std::set<qint64> erasedRows;

    bool poprawa() const { return !numer.isEmpty(); }
    // The state of editing stored document `numer` of the database open now (identity taken now).
    static EditState of(App& app, const QString& numer, const StoredIdentity& storedIdentity);
    // True when `path` is the database file the document came from.
    bool fromDatabase(const QString& path) const;
};
