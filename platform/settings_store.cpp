#include "platform/settings_store.h"
#include <QSet>
#include <QSettings>
#include <QStringList>
#include <memory>

namespace settings {
namespace {

// A registry path split into what QSettings needs: on Windows the full path under
// HKEY_CURRENT_USER; elsewhere the second and third parts name the file (organisation and
// application) and the rest is the group inside it.
struct Location {
    std::unique_ptr<QSettings> store;
    QString group;
};

Location locate(const QString& keyPath)
{
    QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
#ifdef Q_OS_WIN
    Location l;
    l.store = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\") + parts.join(QLatin1Char('\\')),
                                          QSettings::NativeFormat);
    return l;
#else
    if (!parts.isEmpty() && parts.first().compare(QLatin1String("SOFTWARE"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    QString organization = parts.value(0, QStringLiteral("Rolkwit"));
    QString application = parts.value(1, organization);
    Location l;
    l.store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organization, application);
    l.group = parts.mid(2).join(QLatin1Char('/'));
    return l;
#endif
}

// Keys created during this run that hold no value yet: an INI file has no empty sections.
QSet<QString>& createdKeys()
{
    static QSet<QString> keys;
    return keys;
}

QString normalized(const QString& keyPath) { return keyPath.toLower(); }

} // namespace

void createKey(const QString& keyPath)
{
    createdKeys().insert(normalized(keyPath));
}

bool keyExists(const QString& keyPath)
{
    if (createdKeys().contains(normalized(keyPath))) return true;
    Location l = locate(keyPath);
    if (l.group.isEmpty()) return !l.store->allKeys().isEmpty();
    l.store->beginGroup(l.group);
    return !l.store->childKeys().isEmpty() || !l.store->childGroups().isEmpty();
}

std::optional<QString> readValue(const QString& keyPath, const QString& name)
{
    Location l = locate(keyPath);
    if (!l.group.isEmpty()) l.store->beginGroup(l.group);
    QVariant v = l.store->value(name);
    switch (v.typeId()) {
    case QMetaType::QString: return v.toString();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return QString::number(v.toLongLong());
    case QMetaType::QStringList: return v.toStringList().join(QStringLiteral(", "));  // an unquoted comma in the file
    default: return std::nullopt;  // missing, or binary and list values
    }
}

bool writeValue(const QString& keyPath, const QString& name, const QString& value)
{
    if (!keyExists(keyPath)) return false;
    Location l = locate(keyPath);
    if (!l.group.isEmpty()) l.store->beginGroup(l.group);
    l.store->setValue(name, value);
    l.store->sync();
    return l.store->status() == QSettings::NoError;
}

void removeValue(const QString& keyPath, const QString& name)
{
    Location l = locate(keyPath);
    if (!l.group.isEmpty()) l.store->beginGroup(l.group);
    l.store->remove(name);
    l.store->sync();
}

} // namespace settings
