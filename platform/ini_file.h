#pragma once
#include <QString>
#include <optional>

// INI-format text files read and written by the rules of the Windows profile functions:
// "[section]" lines, "key=value" lines in file order, section and key names compared without
// case, blanks around names and values dropped, one pair of enclosing quotes removed from a
// value on reading, comment lines starting with ";" ignored. A write replaces the first
// matching key in place, appends a new key at the end of its section and a new section at the
// end of the file, and creates the file when it is missing.
// Files are written in UTF-8; a file that is not valid UTF-8 is read as Windows-1250, the
// code page in which older Polish installations kept them.
namespace ini {

// The value, or nothing when the file, the section or the key is missing.
std::optional<QString> readString(const QString& file, const QString& section, const QString& key);
// Returns false when the file cannot be written.
bool writeString(const QString& file, const QString& section, const QString& key, const QString& value);
bool sectionExists(const QString& file, const QString& section);

}  // namespace ini
