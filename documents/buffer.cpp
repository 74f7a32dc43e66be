#include "documents/buffer.h"
#include "core/app.h"
#include "core/error_report.h"
#include "documents/positions.h"
#include "documents/transaction_scope.h"
#include "platform/database.h"

namespace {

const QString kEditTable = QStringLiteral("dopopr");

// The statement that makes the table in a file without it; resources/schema.sql holds the same.
void createEditTable(db::Database& db)
{
    db.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS dopopr (Stanowisko SHORT PRIMARY KEY, Numer TEXT COLLATE "
                              "NOCASE, Wiersz LONG, Skrot LONGBINARY)"));
}

}  // namespace

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
    app.gBaseDb->execute(QStringLiteral("DELETE FROM dodok WHERE Stanowisko = ?"), {app.gStanowisko});
    bufferEditState(app, EditState());
    PositionBuffer poz(app, PositionTable::Dopoz), kor(app, PositionTable::Dokor);
    for (int i = 1; i <= app.gPrgPar.TabPozLicz; ++i) {
        poz.append(i);
        if (korekta) kor.append(i);
    }
    tr.commit();
    return true;
}

void bufferEditState(App& app, const EditState& state)
{
    auto& db = *app.gBaseDb;
    TransactionScope tr(db);
    if (state.poprawa()) {
        createEditTable(db);
        db.execute(
            QStringLiteral("INSERT OR REPLACE INTO dopopr (Stanowisko, Numer, Wiersz, Skrot) VALUES (?, ?, ?, ?)"),
            {app.gStanowisko, state.numer, state.storedIdentity.rowid, state.storedIdentity.digest});
    } else if (db.tableExists(kEditTable)) {
        db.execute(QStringLiteral("DELETE FROM dopopr WHERE Stanowisko = ?"), {app.gStanowisko});
    }
    tr.commit();
}

void forgetBufferedEdit(App& app, const QString& numer)
{
    if (app.gBaseDb->tableExists(kEditTable))
        app.gBaseDb->execute(QStringLiteral("DELETE FROM dopopr WHERE Stanowisko = ? AND Numer = ?"),
                             {app.gStanowisko, numer});
}

EditState bufferedEditState(App& app, const DocHeader& h)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return EditState();
    try {
        auto& db = *app.gBaseDb;
        if (!db.tableExists(kEditTable)) return EditState();
        auto r = db.queryOne(QStringLiteral("SELECT Numer, Wiersz, Skrot FROM dopopr WHERE Stanowisko = ?"),
                             {app.gStanowisko});
        if (!r || r->text(QStringLiteral("Numer")).compare(h.Numer, Qt::CaseInsensitive) != 0) return EditState();
        return EditState::of(app, r->text(QStringLiteral("Numer")),
                             {r->integer(QStringLiteral("Wiersz")), (*r)[QStringLiteral("Skrot")].toBytes()});
    } catch (...) {
        ErrorReport(app, QStringLiteral("OdczytZBufora"));
        return EditState();
    }
}

bool BazaPusta(App& app)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return false;
    return !app.gBaseDb->queryOne(QStringLiteral("SELECT 1 FROM fadok LIMIT 1")).has_value();
}
