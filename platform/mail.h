#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// A mail message handed to the user's mail program, which shows it for the user to send.
namespace mail {

struct Message {
    QString to;
    QString subject;
    QString body;             // plain text, or HTML when it contains "<html>"
    QStringList attachments;  // file paths
};

// Every non-empty part of a list of paths separated by ";".
QStringList splitAttachments(const QString& list);
// The attachments that cannot be read (missing, or not readable by this user).
QStringList unreadableAttachments(const Message& m);
bool isHtml(const QString& body);
// A header value as written into a message: as it is when plain printable ASCII, otherwise as
// one RFC 2047 encoded word (so a line break in it can never start another header).
QByteArray headerText(const QString& s);
// "mailto:" link with the address, subject and body percent-encoded (UTF-8), so that "&", "#",
// blanks, line breaks and Polish letters arrive as written.
QString mailtoUrl(const Message& m);
// The message as an unsent RFC 5322 file that mail programs open as a draft; none when an
// attachment cannot be read.
std::optional<QByteArray> emlText(const Message& m);

// Writes `bytes` as a new file named `wanted`, or, when a file of that name exists, as the first
// free name of its form "name-2.eml", "name-3.eml"...: no earlier file is ever replaced. Gives the
// path written, or "" when it could not be written (then nothing is left).
QString writeNewFile(const QString& wanted, const QByteArray& bytes);

// A hand-off that finally failed: no way took the message, at once or when a mail program that
// had taken it ended with a failure later. `leftAt` is the unsent message file written on the way,
// "" when none could be written. Runs once.
using Failed = std::function<void(const QString& leftAt)>;

// Opens the mail program on a mailto: link, else writes the message as a new file named after
// `emlPath` (writeNewFile) and opens it with its associated program.
bool openMailto(const Message& m, const QString& emlPath, const Failed& failed);
// Composes the message with its attachments in the mail program: through xdg-email, else by
// writing it as a new file named after `emlPath` and opening it with its associated program.
// Both return false when the hand-off failed at once (`failed` has run then too).
bool composeMessage(const Message& m, const QString& emlPath, const Failed& failed);

}  // namespace mail
