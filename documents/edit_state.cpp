#include "documents/edit_state.h"
#include "core/app.h"
#include "platform/database.h"
#include <QCryptographicHash>
#include <QFileInfo>
#include <charconv>

namespace {

// Every value of the statement's row but column `skip` with its kind, so that NULL, 0 and ""
// differ and no two rows run together: the kind, the length of the text, ':' and the text.
void addRow(QByteArray& bytes, const db::Statement& st, int skip)
{
    static const size_t kInteger = db::Value::Data(qint64()).index(), kText = db::Value::Data(QString()).index();
    for (int i = 0; i < st.columnCount(); ++i) {
        if (i == skip) continue;
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
    QByteArray bytes;
    qint64 rowid = 0;
    {
        db::Statement header(db, QStringLiteral("SELECT rowid AS rowid_, * FROM fadok WHERE Numer = ?"));
        header.bind(1, numer);
        if (!header.step()) return std::nullopt;
        rowid = header.value(0).toInt();
        int paid = -1;
        for (int i = 0; i < header.columnCount(); ++i)
            if (header.columnName(i).compare(QLatin1String("Zaplacono"), Qt::CaseInsensitive) == 0) paid = i;
        addRow(bytes, header, paid);
    }
    db::Statement positions(db, QStringLiteral("SELECT * FROM fapoz WHERE Numer = ? ORDER BY Korekta, Pozycja, rowid"));
    positions.bind(1, numer);
    while (positions.step()) addRow(bytes, positions, -1);
    return StoredIdentity{rowid, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
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
