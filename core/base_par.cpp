#include "core/base_par.h"
#include "core/app.h"
#include "core/error_report.h"

QString BaseParRead(App& app, db::Database& db, const QString& indpar, const QString& defaultValue)
{
    try {
        auto row = db.queryOne(QStringLiteral("SELECT Wartosc FROM dbpar WHERE Indpar = ?"), {indpar});
        if (row) return row->text(QStringLiteral("Wartosc"));
        db.execute(QStringLiteral("INSERT INTO dbpar (Indpar, Wartosc) VALUES (?, ?)"), {indpar, defaultValue});
        return defaultValue;
    } catch (...) {
        ErrorReport(app, QStringLiteral("BaseParRead"));
        return QString();
    }
}

bool BaseParSave(App& app, db::Database& db, const QString& indpar, const QString& wartosc)
{
    try {
        if (db.execute(QStringLiteral("UPDATE dbpar SET Wartosc = ? WHERE Indpar = ?"), {wartosc, indpar}) == 0)
            db.execute(QStringLiteral("INSERT INTO dbpar (Indpar, Wartosc) VALUES (?, ?)"), {indpar, wartosc});
        return true;
    } catch (...) {
        ErrorReport(app, QStringLiteral("BaseParSave"));
        return false;
    }
}
