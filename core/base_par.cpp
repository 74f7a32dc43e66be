#include "core/base_par.h"
#include "core/app.h"
#include "core/error_report.h"
#include "platform/database.h"

QString BaseParRead(App& app, db::Database& db, const QString& indpar, const QString& defaultValue)
{
    try {
        auto row = db.queryOne(QStringLiteral("SELECT Wartosc FROM dbpar WHERE Indpar = ?"), {indpar});
        if (row) return row->text(QStringLiteral("Wartosc"));
        if (auto& held = app.heldDefaults; held && held->path == db.path()) {
            for (const auto& [key, value] : held->values)
                if (key.compare(indpar, Qt::CaseInsensitive) == 0) return value;
            held->values.emplace_back(indpar, defaultValue);
            return defaultValue;
        }
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

void holdDefaults(App& app, const QString& path)
{
    app.heldDefaults = App::HeldDefaults{path, {}};
}

void storeHeldDefaults(App& app, db::Database& db)
{
    if (!app.heldDefaults || app.heldDefaults->path != db.path()) return;
    const auto values = std::move(app.heldDefaults->values);
    app.heldDefaults.reset();
    if (values.empty()) return;
    try {
        db::Transaction tr(db);
        for (const auto& [key, value] : values)
            if (!db.queryOne(QStringLiteral("SELECT 1 FROM dbpar WHERE Indpar = ?"), {key}))
                db.execute(QStringLiteral("INSERT INTO dbpar (Indpar, Wartosc) VALUES (?, ?)"), {key, value});
        tr.commit();
    } catch (...) {
        ErrorReport(app, QStringLiteral("BaseParRead"));
    }
}

void dropHeldDefaults(App& app)
{
    app.heldDefaults.reset();
}
