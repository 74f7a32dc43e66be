#include "core/shared_procs.h"
#include "core/app.h"
#include "core/error_report.h"
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>

bool LogoRead(App& app, db::Database& db, QString& file)
{
    try {
        auto row = db.queryOne(QStringLiteral("SELECT Wartosc FROM dbbin WHERE Indpar = ?"), {QStringLiteral("Logo")});
        if (!row) return false;
        QByteArray bytes = row->at(0).toBytes();
        if (bytes.isEmpty()) return false;
        // Truncating: a shorter logo must not keep the tail of a longer one written before.
        QString path = QDir(app.programFolder).filePath(QStringLiteral("~logo.tmp"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
            QDir().mkpath(data);
            f.setFileName(QDir(data).filePath(QStringLiteral("~logo.tmp")));
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                throw AppError(err::kPathFileAccess, QStringLiteral("LogoRead"),
                               QStringLiteral("Nie można zapisać pliku %1.").arg(f.fileName()));
        }
        if (f.write(bytes) != bytes.size())
            throw AppError(err::kDiskFull, QStringLiteral("LogoRead"),
                           QStringLiteral("Błąd zapisu pliku %1.").arg(f.fileName()));
        f.close();
        file = f.fileName();
        return true;
    } catch (...) {
        ErrorReport(app, QStringLiteral("LogoRead"));
        return false;
    }
}

void logoWrite(db::Database& db, const QByteArray& bytes)
{
    const db::Value key(QStringLiteral("Logo"));
    if (db.execute(QStringLiteral("UPDATE dbbin SET Wartosc = ? WHERE Indpar = ?"), {db::Value(bytes), key}) == 0)
        db.execute(QStringLiteral("INSERT INTO dbbin (Indpar, Wartosc) VALUES (?, ?)"), {key, db::Value(bytes)});
}

void logoClear(db::Database& db)
{
    db.execute(QStringLiteral("UPDATE dbbin SET Wartosc = NULL WHERE Indpar = ?"), {QStringLiteral("Logo")});
}

Decimal NumRound(Decimal value, int decimals)
{
    return value.rounded(decimals);
}

OptDecimal NumRound(const OptDecimal& value, int decimals)
{
    if (!value) return std::nullopt;
    return value->rounded(decimals);
}

void PathSplit(const QString& path, QString& folder, QString& file)
{
    int p = qMax(path.lastIndexOf('\\'), path.lastIndexOf('/'));
    if (p < 0) {
        folder.clear();
        file = path;
    } else {
        folder = path.left(p);
        file = path.mid(p + 1);
    }
}

QString RstToText(const db::Row& row, int column)
{
    const db::Value& v = row.at(column);
    if (v.isNull()) return QString();
    QString type = row.declaredType(column);
    QLocale locale;
    if (type == "BIT") return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    if (type == "CURRENCY") return v.toDecimal().toString().replace('.', locale.decimalPoint());
    if (type == "DATETIME" && v.toDate().isValid()) return locale.toString(v.toDate(), QLocale::ShortFormat);
    if (std::holds_alternative<double>(v.data()))
        return QString::number(std::get<double>(v.data()), 'g', 15).replace('.', locale.decimalPoint());
    return v.toText();
}

QString RstToText(const db::Row& row, const QString& column)
{
    int i = row.indexOf(column);
    if (i < 0) row[column];  // raises the missing column's error
    return RstToText(row, i);
}

db::Value EmptyToNull(const QString& value)
{
    return value.isEmpty() ? db::Value() : db::Value(value);
}

db::Value EmptyToNull(const db::Value& value)
{
    if (auto s = std::get_if<QString>(&value.data()); s && s->isEmpty()) return db::Value();
    return value;
}

void StatusInfo(const QString&)
{
    // The progress of long steps is not displayed.
}
