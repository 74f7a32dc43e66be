#include "documents/save.h"
#include "core/app.h"
#include "core/error_report.h"
#include "documents/buffer.h"
#include "documents/deletion.h"
#include "documents/numbering.h"
#include "documents/positions.h"
#include "platform/app_error.h"
#include "platform/database.h"

namespace {

const QString kTylkoOdczyt =
    QStringLiteral("Baza danych jest zablokowana - tylko do odczytu. Nie można zapisać dokumentu.");
const QString kBrakNumeru =
    QStringLiteral("Nie można nadać numeru dokumentu. Dokument nie został zapisany. Sprawdź datę wystawienia oraz "
                   "parametry numeracji i spróbuj ponownie.");

// What the user has confirmed storing over: that number holding exactly that stored document,
// or (no identity) that number holding none, the edited document having been deleted meanwhile
// or given number `przenumerowany` elsewhere.
struct Confirmed {
    QString numer;
    std::optional<StoredIdentity> storedIdentity;
    QString przenumerowany;
};

// A question to ask before storing, and the number under which the edited document is held now
// when another workstation gave it another one (that document is the one replaced).
struct Ask {
    QString question;
    QString przenumerowany;
};

// What one pass of the transaction ended with.
struct Attempt {
    enum Kind { Stored, Conflict, Refused } kind = Refused;
    QString numer;             // Stored: the number used
    Ask confirmationQuestion;  // Conflict: what to ask before the next pass
    Confirmed zgoda;           // Conflict: what a Yes to it confirms
    CheckFault fault;          // Refused: what to tell the user once the transaction is rolled back
};

bool same(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

Attempt refused(const QString& message, std::optional<FormField> focus)
{
    Attempt a;
    a.fault = CheckFault{message, focus, -1};
    return a;
}

DocHeader readBufferedHeader(App& app)
{
    auto h = DocHeader::buffered(*app.gBaseDb, app.gStanowisko);
    if (!h)
        throw AppError(err::kNoCurrentRecord, QStringLiteral("ZapiszDokument"),
                       QStringLiteral("Brak nagłówka dokumentu w buforze."));
    return *h;
}

// True when what is stored under the number is the document `state` loaded, unchanged since.
bool isOwnDocument(App& app, const EditState& state, const QString& numer, const std::optional<StoredIdentity>& stary)
{
    return stary && isOwnNumber(state, numer) && state.fromDatabase(app.gBaseDb->path()) &&
           *stary == state.storedIdentity;
}

// The question to ask before storing `h` under its number, where `stary` is stored now; none when
// the document may be stored at once: nothing is stored there (and it is no edited document gone
// from its number meanwhile), or it is the edited document itself. An edited document found under
// another number is that document renumbered, not deleted.
std::optional<Ask> confirmationQuestion(App& app, const EditState& state, const DocHeader& h,
                                        const std::optional<StoredIdentity>& stary)
{
    if (stary)
        return isOwnDocument(app, state, h.Numer, stary) ? std::nullopt
                                                         : std::optional(Ask{replaceQuestion(h.Numer), {}});
    if (!isOwnNumber(state, h.Numer) || !state.fromDatabase(app.gBaseDb->path())) return std::nullopt;
    if (auto nowy = renumberedTo(*app.gBaseDb, state.storedIdentity, h.Nazkon))
        return Ask{renumberedQuestion(h.Numer, *nowy), *nowy};
    return Ask{deletedMeanwhileQuestion(h.Numer), {}};
}

bool isConfirmed(const Confirmed& zgoda, const QString& numer, const std::optional<StoredIdentity>& stary,
                 const Ask& ask)
{
    return !zgoda.numer.isEmpty() && same(zgoda.numer, numer) && zgoda.storedIdentity == stary &&
           zgoda.przenumerowany == ask.przenumerowany;
}

// Stores the named rows of one buffer (as read for the checks, in their order) under the
// document's kind and number, numbered 1..n; the rows of the corrected document are stored with
// their quantities and values negated.
void copyPositions(db::Database& db, const std::vector<Position>& rows, bool korekta, const DocHeader& h)
{
    db::Statement st(db, positionInsert(QStringLiteral("fapoz")));
    qint64 n = 0;
    for (const Position& p : rows) {
        if (p.Nazwa.isEmpty()) continue;
        Position stored = korekta ? p.negated() : p;
        stored.Pozycja = ++n;
        st.bindAll(positionValues({h.Stanowisko, h.Inddok, h.Numer, korekta}, stored));
        st.step();
        st.reset();
    }
}

// A correction names a stored document of the chosen kind, not itself, that no other stored
// correction names.
std::optional<Attempt> checkCorrectedDocument(db::Database& db, const DocHeader& h)
{
    const QString wybierz = QStringLiteral(" Wybierz dokument korygowany i spróbuj ponownie.");
    if (same(h.KorNumer, h.Numer))
        return refused(QStringLiteral("Dokument nie może korygować samego siebie.") + wybierz, FormField::Kornum);
    auto korygowany = db.queryOne(QStringLiteral("SELECT Inddok FROM fadok WHERE Numer = ?"), {h.KorNumer});
    if (!korygowany || (!h.KorInddok.isEmpty() && korygowany->text("Inddok") != h.KorInddok))
        return refused(QStringLiteral("Dokument korygowany nr %1 nie istnieje w bazie danych.").arg(h.KorNumer) +
                           wybierz,
                       FormField::Kornum);
    auto inna = db.queryOne(QStringLiteral("SELECT Numer FROM fadok WHERE KorNumer = ? AND Numer <> ? LIMIT 1"),
                            {h.KorNumer, h.Numer});
    if (inna)
        return refused(
            QStringLiteral("Dokument nr %1 został już skorygowany dokumentem nr %2. Nie można zapisać drugiej "
                           "korekty tego dokumentu.")
                    .arg(h.KorNumer, inna->text("Numer")) +
                QStringLiteral(" Wybierz inny dokument korygowany i spróbuj ponownie."),
            FormField::Kornum);
    return std::nullopt;
}

// One pass of the writer transaction.
Attempt zapisz(App& app, const DocHeader& bufor, const std::vector<Position>& dopoz, const std::vector<Position>& dokor,
               const EditState& state, bool numerPrzyZapisie, const Confirmed& potwierdzony)
{
    auto& db = *app.gBaseDb;
    db::Transaction tr(db);
    // Another workstation may have locked the database since it was attached.
    if (db.scalar(QStringLiteral("SELECT Wartosc FROM dbpar WHERE Indpar = 'BazaOdczyt'")).toText() ==
        QLatin1String("1"))
        return refused(kTylkoOdczyt, std::nullopt);

    DocHeader h = bufor;
    if (numerPrzyZapisie) {
        try {
            h.Numer = numberForSave(app, h.Datawyst);
        } catch (const NoFreeNumber& e) {
            return refused(QStringLiteral("Dokument nie został zapisany. ") + e.description(), FormField::Datawyst);
        } catch (const AppError&) {
            h.Numer.clear();
        }
        if (h.Numer.isEmpty()) return refused(kBrakNumeru, FormField::Datawyst);
    }

    // Compared again under the lock: what the user confirmed may have changed meanwhile.
    const auto stary = storedIdentityOf(db, h.Numer);
    const auto q = confirmationQuestion(app, state, h, stary);
    if (q && !isConfirmed(potwierdzony, h.Numer, stary, *q)) {
        Attempt a;
        a.kind = Attempt::Conflict;
        a.confirmationQuestion = *q;
        a.zgoda = {h.Numer, stary, q->przenumerowany};
        return a;
    }
    if (h.isCorrection())
        if (auto fault = checkCorrectedDocument(db, h)) return *fault;

    // The edited document stays paid as it was, also when it is taken back from the number it
    // was given elsewhere (that one goes: it is this document); any other is stored unpaid.
    const QString przenumerowany = q ? q->przenumerowany : QString();
    const QString ten = isOwnDocument(app, state, h.Numer, stary) ? h.Numer : przenumerowany;
    h.Zaplacono = ten.isEmpty()
                      ? std::nullopt
                      : db.scalar(QStringLiteral("SELECT Zaplacono FROM fadok WHERE Numer = ?"), {ten}).toOptDecimal();
    if (!przenumerowany.isEmpty()) deleteStoredDocument(db, przenumerowany);
    deleteStoredDocument(db, h.Numer);
    h.Stanowisko = app.gStanowisko;
    db.execute(DocHeader::insertStatement(QStringLiteral("fadok")), h.values());
    copyPositions(db, dopoz, false, h);
    if (h.isCorrection()) copyPositions(db, dokor, true, h);
    // Until a new document empties it, the buffer holds the document just stored: kept as the
    // edit of it, under the number it took, a restart in between stores over it, never twice.
    db.execute(QStringLiteral("UPDATE dodok SET Numer = ? WHERE Stanowisko = ?"), {h.Numer, app.gStanowisko});
    bufferEditState(app, EditState::of(app, h.Numer, storedIdentityOf(db, h.Numer).value_or(StoredIdentity())));
    tr.commit();
    Attempt a;
    a.kind = Attempt::Stored;
    a.numer = h.Numer;
    return a;
}

}  // namespace

SaveResult ZapiszDokument(App& app, const EditState& state, const Question& ask)
{
    SaveResult result;
    result.erasedRows = state.erasedRows;
    if (!app.gBazaOtwarta || !app.gBaseDb) return result;
    if (app.gBazaPar.BazaOdczyt) {
        result.fault = CheckFault{kTylkoOdczyt, std::nullopt, -1};
        return result;
    }
    try {
        const DocHeader h = readBufferedHeader(app);
        // With automatic numbering that cannot be edited, a new document gets its number only now.
        const bool numerPrzyZapisie = !state.poprawa() && app.gBazaPar.NumAuto && !app.gBazaPar.NumEdycja;
        if ((result.fault = checkHeader(h, !numerPrzyZapisie))) return result;
        const auto dopoz = PositionBuffer(app, PositionTable::Dopoz).read();
        const auto dokor =
            h.isCorrection() ? PositionBuffer(app, PositionTable::Dokor).read() : std::vector<Position>();
        if ((result.fault = checkPositions(app, h, dopoz, dokor, &result.erasedRows))) return result;

        Confirmed potwierdzony;
        if (!numerPrzyZapisie) {
            const auto stary = storedIdentityOf(*app.gBaseDb, h.Numer);
            if (auto q = confirmationQuestion(app, state, h, stary)) {
                if (!ask || !ask(q->question)) return result;
                potwierdzony = {h.Numer, stary, q->przenumerowany};
            }
        }
        // The question is never asked while the database is locked for writing: a document stored
        // or changed meanwhile under the number ends the pass, and the question comes before the next.
        for (int proba = 0; proba < 5; ++proba) {
            Attempt a = zapisz(app, h, dopoz, dokor, state, numerPrzyZapisie, potwierdzony);
            if (a.kind == Attempt::Stored) {
                result.ok = true;
                result.numer = a.numer;
                return result;
            }
            if (a.kind == Attempt::Refused) {
                result.fault = a.fault;
                return result;
            }
            if (!ask || !ask(a.confirmationQuestion.question)) return result;
            potwierdzony = a.zgoda;
        }
        return result;
    } catch (...) {
        ErrorReport(app, QStringLiteral("ZapiszDokument"));
        return result;
    }
}
