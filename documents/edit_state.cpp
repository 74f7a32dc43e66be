#include "documents/edit_state.h"
#include "core/app.h"
#include "platform/database.h"
#include <QCryptographicHash>
#include <QFileInfo>
#include <charconv>

namespace {

// The columns of a statement that a digest leaves out, by name.
std::vector<bool> leftOut(const db::Statement& st, std::initializer_list<QLatin1String> names)
{
    std::vector<bool> out(size_t(st.columnCount()), false);
    for (int i = 0; i < st.columnCount(); ++i)
        for (const QLatin1String& name : names)
            if (st.columnName(i).compare(name, Qt::CaseInsensitive) == 0) out[size_t(i)] = true;
    return out;
}

// Every value of the statement's row but those left out, with its kind, so that NULL, 0 and ""
// differ and no two rows run together: the kind, the length of the text, ':' and the text.
void addRow(QByteArray& bytes, const db::Statement& st, const std::vector<bool>& skip)
{
    static const size_t kInteger = db::Value::Data(qint64()).index(), kText = db::Value::Data(QString()).index();
    for (int i = 0; i < st.columnCount(); ++i) {
        if (skip[size_t(i)]) continue;
        const size_t kind = st.kind(i);
        char digits[24];
        QByteArray converted;
        QByteArrayView text;
        if (kind == kInteger)
            text =
                QByteArrayView(digits, std::to_chars(digits, digits + sizeof digits, st.value(i).toInt()).ptr - digits);
        else if (kind == kText)
            text = st.utf8(i);
        else if (kind != 0)
            text = converted = st.value(i).toText().toUtf8();
        bytes += kind == 0 ? 'n' : char('0' + kind);
        char length[24];
        bytes.append(length, std::to_chars(length, length + sizeof length, text.size()).ptr - length);
        bytes += ':';
        bytes += text;
    }
    bytes += '|';
}

}  // namespace

std::optional<StoredIdentity> storedIdentityOf(db::Database& db, const QString& numer)
{
    // The number and the workstation that stored it are left out, so that the document given
    // another number elsewhere keeps its digest; the row tells one document from another under one
    // number.
    QByteArray bytes;
    qint64 rowid = 0;
    const QLatin1String numer_("Numer"), stanowisko("Stanowisko");
    {
        db::Statement header(db, QStringLiteral("SELECT rowid AS rowid_, * FROM fadok WHERE Numer = ?"));
        header.bind(1, numer);
        if (!header.step()) return std::nullopt;
        rowid = header.value(0).toInt();
        addRow(bytes, header,
               leftOut(header, {numer_, stanowisko, QLatin1String("rowid_"), QLatin1String("Zaplacono")}));
    }
    db::Statement positions(db, QStringLiteral("SELECT * FROM fapoz WHERE Numer = ? ORDER BY Korekta, Pozycja, rowid"));
    positions.bind(1, numer);
    const std::vector<bool> skip = leftOut(positions, {numer_, stanowisko});
    while (positions.step()) addRow(bytes, positions, skip);
    return StoredIdentity{rowid, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
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
