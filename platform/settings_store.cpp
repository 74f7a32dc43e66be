#include "platform/settings_store.h"
#include <QHash>
#include <QSet>
#include <QSettings>
#include <QStringList>
#include <memory>

namespace settings {
namespace {

// The stores of the batch in progress, by what they open; none outside a batch.
struct Batch {
    int depth = 0;
    QHash<QString, std::shared_ptr<QSettings>> stores;
    QSet<QString> written;  // the stores holding values not yet sent on
};
Batch& batch()
{
    static Batch b;
    return b;
}

int writes = 0;

// A registry path split into what QSettings needs: on Windows the full path under
// HKEY_CURRENT_USER; elsewhere the second and third parts name the file (organisation and
// application) and the rest is the group inside it. Within a batch one store serves each.
struct Location {
    QString id;
    std::shared_ptr<QSettings> store;
    QString group;

    // Sends what was written on, unless a batch holds it back.
    bool flush()
    {
        if (batch().depth > 0) {
            batch().written.insert(id);
            return store->status() == QSettings::NoError;
        }
        store->sync();
        ++writes;
        return store->status() == QSettings::NoError;
    }
};

Location locate(const QString& keyPath)
{
    QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    Location l;
    auto open = [&l](const QString& id, const auto& make) {
        l.id = id;
        if (batch().depth == 0) return std::shared_ptr<QSettings>(make());
        std::shared_ptr<QSettings>& s = batch().stores[id];
        if (!s) s.reset(make());
        return s;
    };
#ifdef Q_OS_WIN
    const QString path = QStringLiteral("HKEY_CURRENT_USER\\") + parts.join(QLatin1Char('\\'));
    l.store = open(path.toLower(), [&] { return new QSettings(path, QSettings::NativeFormat); });
#else
    if (!parts.isEmpty() && parts.first().compare(QLatin1String("SOFTWARE"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    QString organization = parts.value(0, QStringLiteral("Rolkwit"));
    QString application = parts.value(1, organization);
    l.store = open(organization + QLatin1Char('/') + application, [&] {
        return new QSettings(QSettings::NativeFormat, QSettings::UserScope, organization, application);
    });
    l.group = parts.mid(2).join(QLatin1Char('/'));
#endif
    return l;
}

// A store of the batch is shared: each use enters its group and leaves it again.
struct InGroup {
    Location& l;
    explicit InGroup(Location& location) : l(location)
    {
        if (!l.group.isEmpty()) l.store->beginGroup(l.group);
    }
    ~InGroup()
    {
        if (!l.group.isEmpty()) l.store->endGroup();
    }
};

// Keys created during this run that hold no value yet: an INI file has no empty sections.
QSet<QString>& createdKeys()
{
    static QSet<QString> keys;
    return keys;
}

QString normalized(const QString& keyPath)
{
    return keyPath.toLower();
}

}  // namespace

void createKey(const QString& keyPath)
{
    createdKeys().insert(normalized(keyPath));
}

bool keyExists(const QString& keyPath)
{
    if (createdKeys().contains(normalized(keyPath))) return true;
    Location l = locate(keyPath);
    if (l.group.isEmpty()) return !l.store->allKeys().isEmpty();
    InGroup in(l);
    return !l.store->childKeys().isEmpty() || !l.store->childGroups().isEmpty();
}

std::optional<QString> readValue(const QString& keyPath, const QString& name)
{
    Location l = locate(keyPath);
    InGroup in(l);
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
    {
        InGroup in(l);
        l.store->setValue(name, value);
    }
    return l.flush();
}

void removeValue(const QString& keyPath, const QString& name)
{
    Location l = locate(keyPath);
    {
        InGroup in(l);
        l.store->remove(name);
    }
    l.flush();
}

WriteBatch::WriteBatch()
{
    ++batch().depth;
}

WriteBatch::~WriteBatch()
{
    if (--batch().depth > 0) return;
    for (const QString& id : std::as_const(batch().written)) {
        batch().stores.value(id)->sync();
        ++writes;
    }
    batch().written.clear();
    batch().stores.clear();
}

int storeWrites()
{
    return writes;
}

}  // namespace settings
