#include "documents/buffer.h"
#include "core/app.h"
#include "core/error_report.h"
#include "documents/positions.h"
#include "documents/transaction_scope.h"
#include "platform/database.h"

void bufferHeader(App& app, const DocHeader& header)
{
    DocHeader h = header;
    h.Stanowisko = app.gStanowisko;
    if (!h.isCorrection()) {
        h.KorInddok.clear();
        h.KorNumer.clear();
        h.KorDatawyst = QDate();
    }
    if (h.Fundusz.isEmpty()) h.Fundusz = QStringLiteral(" ");
    h.Zaplacono.reset();

    auto& db = *app.gBaseDb;
    TransactionScope tr(db);
    db.execute(QStringLiteral("DELETE FROM dodok WHERE Stanowisko = ?"), {app.gStanowisko});
    db.execute(DocHeader::insertStatement(QStringLiteral("dodok")), h.values());
    tr.commit();
}

bool ZapiszDoBufora(App& app, const DocHeader& header)
{
    if (!app.gBazaOtwarta || !app.gBaseDb || app.gBazaPar.BazaOdczyt) return false;
    try {
        bufferHeader(app, header);
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
        auto h = DocHeader::buffered(*app.gBaseDb, app.gStanowisko);
        if (h) h->clearBlankFund();
        return h;
    } catch (...) {
        ErrorReport(app, QStringLiteral("OdczytZBufora"));
        return std::nullopt;
    }
}

void WyczyscPozycje(App& app)
{
    if (!app.gBazaOtwarta || !app.gBaseDb || app.gBazaPar.BazaOdczyt) return;
    TransactionScope tr(*app.gBaseDb);
    PositionBuffer(app, PositionTable::Dopoz).clear();
    PositionBuffer(app, PositionTable::Dokor).clear();
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

bool bufferNewDocument(App& app, bool korekta)
{
    if (!app.gBazaOtwarta || !app.gBaseDb || app.gBazaPar.BazaOdczyt) return false;
    TransactionScope tr(*app.gBaseDb);
    WyczyscPozycje(app);
    PositionBuffer poz(app, PositionTable::Dopoz), kor(app, PositionTable::Dokor);
    for (int i = 1; i <= app.gPrgPar.TabPozLicz; ++i) {
        poz.append(i);
        if (korekta) kor.append(i);
    }
    tr.commit();
    return true;
}

bool BazaPusta(App& app)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return false;
    return !app.gBaseDb->queryOne(QStringLiteral("SELECT 1 FROM fadok LIMIT 1")).has_value();
}
