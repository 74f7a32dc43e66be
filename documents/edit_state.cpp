#include "documents/edit_state.h"
#include "core/app.h"
#include "platform/database.h"
#include <QCryptographicHash>
#include <QFileInfo>

namespace {

// Every value with its kind, so that NULL, 0 and "" differ and no two rows run together. The
// number and the workstation that stored it are left out, so that the document given another
// number elsewhere keeps its digest; the row tells one document from another under one number.
void addRow(QCryptographicHash& hash, const db::Row& row, const QStringList& skip)
{
    for (int i = 0; i < row.size(); ++i) {
        if (skip.contains(row.name(i), Qt::CaseInsensitive)) continue;
        const db::Value& v = row.at(i);
        const char kind = v.isNull() ? 'n' : char('0' + v.data().index());
        const QByteArray text = v.toText().toUtf8();
        hash.addData(QByteArrayView(&kind, 1));
        hash.addData(QByteArray::number(text.size()) + ':' + text);
    }
    hash.addData(QByteArrayView("|"));
}

}  // namespace

std::optional<StoredIdentity> storedIdentityOf(db::Database& db, const QString& numer)
{
    auto header = db.queryOne(QStringLiteral("SELECT rowid AS rowid_, * FROM fadok WHERE Numer = ?"), {numer});
    if (!header) return std::nullopt;
    const QStringList placed = {QStringLiteral("Numer"), QStringLiteral("Stanowisko")};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    addRow(hash, *header, placed + QStringList{QStringLiteral("rowid_"), QStringLiteral("Zaplacono")});
    db.forEach(QStringLiteral("SELECT * FROM fapoz WHERE Numer = ? ORDER BY Korekta, Pozycja, rowid"), {numer},
               [&](const db::Row& r) { addRow(hash, r, placed); });
    return StoredIdentity{header->integer(QStringLiteral("rowid_")), hash.result()};
}

std::optional<QString> renumberedTo(db::Database& db, const StoredIdentity& identity, const QString& nazkon)
{
    if (identity.digest.isEmpty()) return std::nullopt;
    // Given another number in place it keeps its row; stored anew under it, it took a later one.
    QStringList numbers;
    const QString seller = nazkon.isEmpty() ? QStringLiteral("Nazkon IS NULL AND ?1 IS NULL")
                                            : QStringLiteral("Nazkon = ?1 COLLATE BINARY");
    db.forEach(QStringLiteral("SELECT Numer FROM fadok WHERE %1 AND rowid >= ?2 ORDER BY rowid").arg(seller),
               {nazkon, identity.rowid}, [&](const db::Row& r) { numbers << r.at(0).toText(); });
    for (const QString& numer : numbers)
        if (auto now = storedIdentityOf(db, numer); now && now->digest == identity.digest) return numer;
    return std::nullopt;
}

EditState EditState::of(App& app, const QString& numer, const StoredIdentity& storedIdentity)
{
    return EditState{numer, app.gBaseDb ? app.gBaseDb->path() : QString(), storedIdentity, {}};
}

bool EditState::fromDatabase(const QString& path) const
{
    if (baza.isEmpty() || path.isEmpty()) return false;
    const QFileInfo a(baza), b(path);
    return a == b || a.canonicalFilePath() == b.canonicalFilePath();
}
