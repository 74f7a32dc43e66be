#include "documents/edit_state.h"
#include "core/app.h"
#include "platform/database.h"
#include <QCryptographicHash>
#include <QFileInfo>

namespace {

// Every value with its kind, so that NULL, 0 and "" differ and no two rows run together.
void addRow(QCryptographicHash& hash, const db::Row& row, const QString& skip)
{
    for (int i = 0; i < row.size(); ++i) {
        if (row.name(i).compare(skip, Qt::CaseInsensitive) == 0) continue;
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
    QCryptographicHash hash(QCryptographicHash::Sha256);
    addRow(hash, *header, QStringLiteral("Zaplacono"));
    db.forEach(QStringLiteral("SELECT * FROM fapoz WHERE Numer = ? ORDER BY Korekta, Pozycja, rowid"), {numer},
               [&](const db::Row& r) { addRow(hash, r, QString()); });
    return StoredIdentity{header->integer(QStringLiteral("rowid_")), hash.result()};
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
