#include "platform/ini_file.h"
#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringList>

namespace ini {
namespace {

QStringList readLines(const QString& file, bool* exists = nullptr)
{
    QFile f(file);
    if (exists) *exists = f.exists();
    if (!f.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        QStringDecoder cp1250("windows-1250");
        text = cp1250.isValid() ? cp1250(bytes) : QString::fromLatin1(bytes);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// The section's name when the line is a section header.
std::optional<QString> sectionName(const QString& line)
{
    QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('['))) return std::nullopt;
    int end = t.indexOf(QLatin1Char(']'));
    return (end < 0 ? t.mid(1) : t.mid(1, end - 1)).trimmed();
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Key and value of a "key=value" line.
std::optional<std::pair<QString, QString>> keyValue(const QString& line)
{
    QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';'))) return std::nullopt;
    int eq = t.indexOf(QLatin1Char('='));
    if (eq < 0) return std::nullopt;
    return std::make_pair(t.left(eq).trimmed(), t.mid(eq + 1).trimmed());
}

}  // namespace

std::optional<QString> readString(const QString& file, const QString& section, const QString& key)
{
    bool inSection = false;
    for (const QString& line : readLines(file)) {
        if (auto s = sectionName(line)) {
            inSection = sameName(*s, section);
            continue;
        }
        if (!inSection) continue;
        auto kv = keyValue(line);
        if (!kv || !sameName(kv->first, key)) continue;
        QString v = kv->second;
        if (v.size() >= 2 && ((v.startsWith('"') && v.endsWith('"')) || (v.startsWith('\'') && v.endsWith('\''))))
            v = v.mid(1, v.size() - 2);
        return v;
    }
    return std::nullopt;
}

bool sectionExists(const QString& file, const QString& section)
{
    for (const QString& line : readLines(file))
        if (auto s = sectionName(line); s && sameName(*s, section)) return true;
    return false;
}

bool writeString(const QString& file, const QString& section, const QString& key, const QString& value)
{
    QStringList lines = readLines(file);
    int sectionStart = -1;
    int insertAt = -1;  // after the last non-empty line of the section
    int replaceAt = -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (auto s = sectionName(lines[i])) {
            if (sectionStart >= 0) break;  // the section ended
            if (sameName(*s, section)) {
                sectionStart = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionStart < 0) continue;
        if (!lines[i].trimmed().isEmpty()) insertAt = i + 1;
        if (auto kv = keyValue(lines[i]); kv && sameName(kv->first, key)) {
            replaceAt = i;
            break;
        }
    }
    // A value is one line: line breaks inside it become blanks.
    QString oneLine = value;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "))
        .replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '));
    QString entry = key + QLatin1Char('=') + oneLine;
    if (replaceAt >= 0) {
        lines[replaceAt] = entry;
    } else if (sectionStart >= 0) {
        lines.insert(insertAt, entry);
    } else {
        lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return false;
    QByteArray bytes = (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8();
    if (out.write(bytes) != bytes.size()) return false;
    return out.commit();
}

}  // namespace ini
