#include "documents/buffer.h"
#include "core/app.h"
#include "core/error_report.h"
#include "documents/transaction_scope.h"
#include "platform/database.h"

bool ZapiszDoBufora(App& app, const DocHeader& header)
{
    if (!app.gBazaOtwarta || !app.gBaseDb || app.gBazaPar.BazaOdczyt) return false;
    try {
        DocHeader h = header;
        h.Stanowisko = app.gStanowisko;
        if (!h.isCorrection()) {
            h.KorInddok.clear();
            h.KorNumer.clear();
            h.KorDatawyst = QDate();
        }
        if (h.Fundusz.isEmpty()) h.Fundusz = QStringLiteral(" ");
        h.Zaplacono.reset();

        const auto& cols = DocHeader::columns();
        QString marks = QStringLiteral("?").repeated(cols.size());
        for (int i = marks.size() - 1; i > 0; --i) marks.insert(i, ',');
        auto& db = *app.gBaseDb;
        TransactionScope tr(db);
        db.execute(QStringLiteral("DELETE FROM dodok WHERE Stanowisko = ?"), {app.gStanowisko});
        db.execute(QStringLiteral("INSERT INTO dodok (%1) VALUES (%2)").arg(cols.join(','), marks), h.values());
        tr.commit();
        return true;
    } catch (...) {
        ErrorReport(app, QStringLiteral("ZapiszDoBufora"));
        return false;
    }
}

std::optional<DocHeader> OdczytZBufora(App& app)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return std::nullopt;
    try {
        auto row = app.gBaseDb->queryOne(QStringLiteral("SELECT * FROM dodok WHERE Stanowisko = ?"), {app.gStanowisko});
        if (!row) return std::nullopt;
        DocHeader h = DocHeader::fromRow(*row);
        if (h.Fundusz.trimmed().isEmpty()) h.Fundusz.clear();
        return h;
    } catch (...) {
        ErrorReport(app, QStringLiteral("OdczytZBufora"));
        return std::nullopt;
    }
}

void WyczyscPozycje(App& app)
{
    if (!app.gBaseDb || app.gBazaPar.BazaOdczyt) return;
    auto& db = *app.gBaseDb;
    TransactionScope tr(db);
    db.execute(QStringLiteral("DELETE FROM dopoz WHERE Stanowisko = ?"), {app.gStanowisko});
    db.execute(QStringLiteral("DELETE FROM dokor WHERE Stanowisko = ?"), {app.gStanowisko});
    tr.commit();
}

bool BuforPusty(App& app)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return false;
    return app.gBaseDb
               ->scalar(QStringLiteral("SELECT count(*) FROM dopoz WHERE Stanowisko = ? AND length(Nazwa) > 0"),
                        {app.gStanowisko})
               .toInt() == 0;
}

bool NowyDokumentBufor(App& app, bool korekta)
{
    if (!app.gBazaOtwarta || !app.gBaseDb || app.gBazaPar.BazaOdczyt) return false;
    auto& db = *app.gBaseDb;
    TransactionScope tr(db);
    WyczyscPozycje(app);
    for (int i = 1; i <= app.gPrgPar.TabPozLicz; ++i) {
        db.execute(QStringLiteral("INSERT INTO dopoz (Stanowisko, Pozycja) VALUES (?, ?)"), {app.gStanowisko, i});
        if (korekta)
            db.execute(QStringLiteral("INSERT INTO dokor (Stanowisko, Pozycja) VALUES (?, ?)"), {app.gStanowisko, i});
    }
    tr.commit();
    return true;
}

bool BazaPusta(App& app)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return false;
    return !app.gBaseDb->queryOne(QStringLiteral("SELECT 1 FROM fadok LIMIT 1")).has_value();
}
