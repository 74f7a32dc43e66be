#include "documents/deletion.h"
#include "core/app.h"
#include "core/error_report.h"
#include "documents/buffer.h"
#include "documents/document_list.h"
#include "documents/document_order.h"
#include "documents/edit_state.h"
#include "documents/numbering.h"
#include "platform/database.h"
#include <QStringList>

namespace {

const QString kTylkoOdczyt =
    QStringLiteral("Baza danych jest zablokowana - tylko do odczytu. Nie można usunąć dokumentu.");

// The stored document as the user is asked about it.
struct Stored {
    QString inddok;
    QString numer;  // as stored
    QDate datawyst;
    StoredIdentity storedIdentity;
    QStringList korekty;  // the stored corrections that name it, as row texts

    QString text() const { return rowText(inddok, numer); }
    bool operator==(const Stored&) const = default;
};

std::optional<Stored> stored(db::Database& db, const QString& numer)
{
    auto row = db.queryOne(QStringLiteral("SELECT Inddok, Numer, Datawyst FROM fadok WHERE Numer = ?"), {numer});
    auto storedIdentity = storedIdentityOf(db, numer);
    if (!row || !storedIdentity) return std::nullopt;
    Stored s{row->text("Inddok"), row->text("Numer"), storedDate((*row)["Datawyst"]), *storedIdentity, {}};
    db.forEach(QStringLiteral("SELECT Inddok, Numer FROM fadok WHERE KorNumer = ? AND Numer <> ? ORDER BY Numer"),
               {s.numer, s.numer}, [&](const db::Row& r) { s.korekty << rowText(r.text("Inddok"), r.text("Numer")); });
    return s;
}

// Under automatic numbering a document may go only when no other document of its numbering
// period has a higher running number. A document without a readable date belongs to no period.
std::optional<QString> notLastNumberRefusal(App& app, db::Database& db, const Stored& s)
{
    if (!app.gBazaPar.NumAuto || !s.datawyst.isValid()) return std::nullopt;
    const auto [from, to] = numberingPeriodOf(app, s.datawyst);
    if (!db.queryOne(
            QStringLiteral("SELECT 1 FROM fadok WHERE Datawyst >= ? AND Datawyst < ? AND Val(Numer) > Val(?) LIMIT 1"),
            {from, to, s.numer}))
        return std::nullopt;
    return QStringLiteral("Ustawiona jest opcja automatycznej numeracji dokumentów. Dokument ") + s.text() +
           QStringLiteral(" nie jest ostatnim dokumentem kartoteki. Dokument nie może zostać usunięty.");
}

QString confirmationQuestion(const Stored& s)
{
    QString q;
    if (!s.korekty.isEmpty())
        q = QStringLiteral("Dokument %1 jest korygowany dokumentem %2. Korekta pozostanie w kartotece bez dokumentu, "
                           "który koryguje. ")
                .arg(s.text(), s.korekty.join(QStringLiteral(", ")));
    return q + QStringLiteral("Dokument ") + s.text() +
           QStringLiteral(" zostanie usunięty z kartoteki. Usunąć dokument?");
}

DeleteResult result(DeleteResult::Outcome outcome, const QString& message = QString())
{
    DeleteResult r;
    r.outcome = outcome;
    r.message = message;
    return r;
}

bool locked(db::Database& db)
{
    return db.scalar(QStringLiteral("SELECT Wartosc FROM dbpar WHERE Indpar = 'BazaOdczyt'")).toText() ==
           QLatin1String("1");
}

}  // namespace

void deleteStoredDocument(db::Database& db, const QString& numer)
{
    db.execute(QStringLiteral("DELETE FROM fapoz WHERE Numer = ?"), {numer});
    db.execute(QStringLiteral("DELETE FROM fadok WHERE Numer = ?"), {numer});
}

DeleteResult UsunDokument(App& app, const QString& numer, const Question& ask)
{
    if (!app.gBazaOtwarta || !app.gBaseDb || numer.isEmpty()) return result(DeleteResult::Cancelled);
    if (app.gBazaPar.BazaOdczyt) return result(DeleteResult::Refused, kTylkoOdczyt);
    db::Database& db = *app.gBaseDb;
    try {
        // The question is never asked while the file is locked for writing: a document changed
        // meanwhile ends the pass and the question comes again.
        for (int proba = 0; proba < 5; ++proba) {
            const auto s = stored(db, numer);
            if (!s) return result(DeleteResult::Missing);
            if (auto refusal = notLastNumberRefusal(app, db, *s)) return result(DeleteResult::Refused, *refusal);
            if (!ask || !ask(confirmationQuestion(*s))) return result(DeleteResult::Cancelled);

            db::Transaction tr(db);
            if (locked(db)) return result(DeleteResult::Refused, kTylkoOdczyt);
            const auto now = stored(db, numer);
            if (!now) return result(DeleteResult::Missing);
            if (!(*now == *s)) continue;
            if (auto refusal = notLastNumberRefusal(app, db, *now)) return result(DeleteResult::Refused, *refusal);
            deleteStoredDocument(db, now->numer);
            // This workstation's buffer holds no edit of a document that is gone.
            forgetBufferedEdit(app, now->numer);
            tr.commit();
            return result(DeleteResult::Deleted);
        }
        return result(DeleteResult::Cancelled);
    } catch (...) {
        ErrorReport(app, QStringLiteral("UsunDokument"));
        return result(DeleteResult::Failed);
    }
}
