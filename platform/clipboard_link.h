#pragma once
#include <QString>

// The clipboard's link format, under which programs of the family hand each other references
// to documents. A text under it is never offered as plain text, and plain text is never read
// as a link.
namespace clipboard {

inline const QString kLinkFormat = QStringLiteral("application/x-wirlan-link");

// Replaces the clipboard's contents with `text` under the link format only.
void writeLink(const QString& text);
// The text under the link format; empty when the clipboard holds none.
QString readLink();

}  // namespace clipboard
