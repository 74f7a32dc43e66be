#include "core/registry.h"
#include "core/app.h"
#include "core/error_report.h"
#include "core/shared_procs.h"
#include "platform/decimal.h"
#include "platform/settings_store.h"
#include <cmath>

void RegKeyCreate(const QString& keyPath)
{
    settings::createKey(keyPath);
}

std::optional<QString> RegValueRead(const QString& keyPath, const QString& name)
{
    return settings::readValue(keyPath, name);
}

void RegValueWrite(const QString& keyPath, const QString& name, const QString& value)
{
    settings::writeValue(keyPath, name, value);
}

void RegSave(const QString& keyPath, const QString& name, const QString& value)
{
    RegKeyCreate(keyPath);
    RegValueWrite(keyPath, name, value);
}

QString RegRead(const QString& keyPath, const QString& name, const QString& defaultValue)
{
    if (auto v = RegValueRead(keyPath, name)) return *v;
    RegValueWrite(keyPath, name, defaultValue);
    return defaultValue;
}

void RegPakietKeyCreate(App& app)
{
    try {
        RegKeyCreate(kRegFamilyKey);
        app.gRegParNazwy.clear();
        app.gRegParWartosci.clear();
    } catch (...) {
        ErrorReport(app, QStringLiteral("RegPakietKeyCreate"));
    }
}

void RegPakietKeyOpen(App& app)
{
    try {
        app.gRegProgramKey = kRegFamilyKey + QLatin1Char('\\') + app.title;
        RegSave(app.gRegProgramKey, QStringLiteral("Wersja"), app.version);
        RegSave(app.gRegProgramKey, QStringLiteral("ProgramFolder"), app.programFolder);
    } catch (...) {
        ErrorReport(app, QStringLiteral("RegPakietKeyOpen"));
    }
}

QString RegParRead(App& app, const QString& name, const QString& defaultValue)
{
    QString value;
    try {
        int i = app.gRegParNazwy.indexOf(name);
        if (i >= 0) return app.gRegParWartosci.at(i);
        value = RegRead(app.gRegProgramKey, name, defaultValue);
        app.gRegParNazwy.append(name);
        app.gRegParWartosci.append(value);
    } catch (...) {
        ErrorReport(app, QStringLiteral("RegParRead"));
    }
    return value;
}

void RegParSave(App& app, const QString& name, const QString& value)
{
    try {
        int i = app.gRegParNazwy.indexOf(name);
        if (i >= 0) {
            app.gRegParWartosci[i] = value;
        } else {
            app.gRegParNazwy.append(name);
            app.gRegParWartosci.append(value);
        }
    } catch (...) {
        ErrorReport(app, QStringLiteral("RegParSave"));
    }
}

void RegParSaveAll(App& app)
{
    try {
        for (int i = 0; i < app.gRegParNazwy.size(); ++i)
            RegSave(app.gRegProgramKey, app.gRegParNazwy.at(i), app.gRegParWartosci.at(i));
    } catch (...) {
        ErrorReport(app, QStringLiteral("RegParSaveAll"));
    }
}

QString BaseNameFromPath(const QString& path)
{
    QString folder, file;
    PathSplit(path, folder, file);
    return file.size() >= 4 ? file.left(file.size() - 4) : QString();
}

QString DigitsOnly(const QString& text)
{
    QString out;
    for (QChar c : text)
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') || c == QLatin1Char('-'))
            out += c;
    return out;
}

std::optional<qint64> numericValue(const QString& text, qint64 minimum, qint64 maximum)
{
    const QString number = leadingDecimalText(text);
    // The default rounding mode takes halves to even.
    const double v = number.isEmpty() ? 0.0 : std::nearbyint(number.toDouble());
    if (!std::isfinite(v) || v < double(minimum) || v > double(maximum)) return std::nullopt;
    return qint64(v);
}
