#pragma once
#include <QString>
#include <optional>

// The per-user settings store. Keys are written as registry paths under the current user
// ("SOFTWARE\Brenik Software\Wirlan3\Rolkwit"); on Windows they are that very registry key,
// elsewhere QSettings keeps them in an INI file under the user's configuration folder
// (<config>/Brenik Software/Wirlan3.conf, one section per program key).
// Values are texts; a stored number reads as its decimal text, a value of any other kind
// reads as missing. Nothing here reports errors: a missing key reads as missing.
namespace settings {

// Creates the key when it does not exist (a key with no values yet still counts as existing).
void createKey(const QString& keyPath);
bool keyExists(const QString& keyPath);
// The value as text, or nothing when the key or the value is missing.
std::optional<QString> readValue(const QString& keyPath, const QString& name);
// Writes only when the key exists; returns whether it wrote.
bool writeValue(const QString& keyPath, const QString& name, const QString& value);
// Removes a value (tests and clean-up only).
void removeValue(const QString& keyPath, const QString& name);

// While a batch lives, the values written stay in memory, where every read sees them, and reach
// the store together when the outermost batch ends: the settings file is rewritten once, not
// once per value.
class WriteBatch final {
public:
    WriteBatch();
    ~WriteBatch();
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;
};

// How many times values have reached the store in this run (each time the settings file is
// rewritten where there is one).
int storeWrites();

}  // namespace settings
