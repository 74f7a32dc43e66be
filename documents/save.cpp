#include "documents/save.h"
#include "core/app.h"
#include "core/error_report.h"
#include "documents/numbering.h"
#include "documents/positions.h"
#include "platform/app_error.h"
#include "platform/database.h"
#include "platform/message_box.h"

namespace {

const QString kTylkoOdczyt =
    QStringLiteral("Baza danych jest zablokowana - tylko do odczytu. Nie można zapisać dokumentu.");

// What one pass of the transaction ended with.
struct Attempt {
    enum Kind { Stored, Conflict, Refused } kind = Refused;
    QString numer;      // Stored: the number used; Conflict: the stored number it would replace
    QString message;    // Refused: what to tell the user once the transaction is rolled back
    QString focus;
};

bool same(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

DocHeader buforowany(App& app)
{
    auto row = app.gBaseDb->queryOne(QStringLiteral("SELECT * FROM dodok WHERE Stanowisko = ?"), {app.gStanowisko});
    if (!row)
        throw AppError(err::kNoCurrentRecord, QStringLiteral("ZapiszDokument"), QStringLiteral("Brak nagłówka dokumentu w buforze."));
    return DocHeader::fromRow(*row);
}

// Copies the named rows of one buffer into fapoz under the document's kind and number; the rows
// of the corrected document are stored with their quantities and values negated.
void kopiujPozycje(db::Database& db, const QString& bufor, bool korekta, const DocHeader& h, int stanowisko)
{
    const QString znak = korekta ? QStringLiteral("-") : QString();
    db.execute(QStringLiteral("INSERT INTO fapoz (Stanowisko, Inddok, Numer, Pozycja, Korekta, Nazwa, Ilosc, Indjed, "
                              "Cenanet, Indvat, WartNetto, WartVAT, WartBrutto) "
                              "SELECT Stanowisko, ?, ?, Pozycja, ?, Nazwa, %2Ilosc, Indjed, Cenanet, Indvat, "
                              "%2WartNetto, %2WartVAT, %2WartBrutto FROM %1 "
                              "WHERE Stanowisko = ? AND Nazwa IS NOT NULL AND Nazwa <> '' ORDER BY Pozycja")
                   .arg(bufor, znak),
               {h.Inddok, h.Numer, korekta, stanowisko});
}

// One pass of the writer transaction. `potwierdzony` is the stored number whose replacement the
// user has confirmed.
Attempt zapisz(App& app, const DocHeader& bufor, const EditState& state, bool numerPrzyZapisie,
               const QString& potwierdzony)
{
    auto& db = *app.gBaseDb;
    db::Transaction tr(db);
    // Another workstation may have locked the database since it was attached.
    if (db.scalar(QStringLiteral("SELECT Wartosc FROM dbpar WHERE Indpar = 'BazaOdczyt'")).toText() == QLatin1String("1"))
        return {Attempt::Refused, {}, kTylkoOdczyt, {}};

    DocHeader h = bufor;
    if (numerPrzyZapisie) {
        auto n = NumerNastepny(app, QStringLiteral("fadok"), QStringLiteral("datawyst"), h.Datawyst);
        if (!n || n->isEmpty() || n->startsWith('?'))
            return {Attempt::Refused, {},
                    QStringLiteral("Nie można nadać numeru dokumentu. Dokument nie został zapisany. Sprawdź datę "
                                   "wystawienia oraz parametry numeracji i spróbuj ponownie."),
                    QStringLiteral("txtDatawyst")};
        h.Numer = *n;
    }

    auto stary = db.queryOne(QStringLiteral("SELECT Zaplacono FROM fadok WHERE Numer = ?"), {h.Numer});
    const bool wlasny = WlasnyNumer(state, h.Numer);
    if (stary && !wlasny && !same(potwierdzony, h.Numer)) return {Attempt::Conflict, h.Numer, {}, {}};

    if (h.isCorrection()) {
        auto inna = db.queryOne(QStringLiteral("SELECT Numer FROM fadok WHERE KorNumer = ? AND Numer <> ? LIMIT 1"),
                                {h.KorNumer, h.Numer});
        if (inna)
            return {Attempt::Refused, {},
                    QStringLiteral("Dokument nr %1 został już skorygowany dokumentem nr %2. Nie można zapisać drugiej "
                                   "korekty tego dokumentu. Wybierz inny dokument korygowany i spróbuj ponownie.")
                        .arg(h.KorNumer, inna->text("Numer")),
                    QStringLiteral("cmbKornum")};
    }

    db.execute(QStringLiteral("DELETE FROM fapoz WHERE Numer = ?"), {h.Numer});
    db.execute(QStringLiteral("DELETE FROM fadok WHERE Numer = ?"), {h.Numer});
    h.Stanowisko = app.gStanowisko;
    // A document re-saved after editing stays paid as it was; any other is stored unpaid.
    h.Zaplacono = stary && wlasny ? stary->optDecimal("Zaplacono") : std::nullopt;
    const auto& cols = DocHeader::columns();
    QString marks = QStringLiteral("?").repeated(cols.size());
    for (int i = marks.size() - 1; i > 0; --i) marks.insert(i, ',');
    db.execute(QStringLiteral("INSERT INTO fadok (%1) VALUES (%2)").arg(cols.join(','), marks), h.values());
    kopiujPozycje(db, QStringLiteral("dopoz"), false, h, app.gStanowisko);
    if (h.isCorrection()) kopiujPozycje(db, QStringLiteral("dokor"), true, h, app.gStanowisko);
    tr.commit();
    return {Attempt::Stored, h.Numer, {}, {}};
}

} // namespace

SaveResult ZapiszDokument(App& app, const EditState& state)
{
    SaveResult result;
    if (!app.gBazaOtwarta || !app.gBaseDb) return result;
    if (app.gBazaPar.BazaOdczyt) {
        ui::msgBox(kTylkoOdczyt, ui::Buttons::Ok, ui::Icon::Exclamation);
        return result;
    }
    try {
        const DocHeader h = buforowany(app);
        // With automatic numbering that cannot be edited, a new document gets its number only now.
        const bool numerPrzyZapisie = !state.poprawa && app.gBazaPar.NumAuto && !app.gBazaPar.NumEdycja;
        if ((result.fault = SprawdzNaglowek(h, !numerPrzyZapisie))) return result;
        const auto dopoz = PositionBuffer(app, PozTabela::Dopoz).read();
        const auto dokor = h.isCorrection() ? PositionBuffer(app, PozTabela::Dokor).read() : std::vector<Position>();
        if ((result.fault = SprawdzPozycje(app, h, dopoz, dokor))) return result;

        QString potwierdzony;
        if (!numerPrzyZapisie && !WlasnyNumer(state, h.Numer)
            && app.gBaseDb->queryOne(QStringLiteral("SELECT 1 FROM fadok WHERE Numer = ?"), {h.Numer})) {
            if (!PytanieZastapic(h.Numer)) return result;
            potwierdzony = h.Numer;
        }
        // The question is never asked while the database is locked for writing: a document stored
        // meanwhile under the number ends the pass, and the question comes before the next one.
        for (int proba = 0; proba < 5; ++proba) {
            Attempt a = zapisz(app, h, state, numerPrzyZapisie, potwierdzony);
            if (a.kind == Attempt::Stored) {
                result.ok = true;
                result.numer = a.numer;
                return result;
            }
            if (a.kind == Attempt::Refused) {
                ui::msgBox(a.message, ui::Buttons::Ok, ui::Icon::Exclamation);
                result.fault = CheckFault{a.focus, -1};
                return result;
            }
            if (!PytanieZastapic(a.numer)) return result;
            potwierdzony = a.numer;
        }
        return result;
    } catch (...) {
        ErrorReport(app, QStringLiteral("ZapiszDokument"));
        return result;
    }
}
