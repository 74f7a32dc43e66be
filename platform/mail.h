#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

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
bool isHtml(const QString& body);
// A header value as written into a message: as it is when plain printable ASCII, otherwise as
// one RFC 2047 encoded word (so a line break in it can never start another header).
QByteArray headerText(const QString& s);
// "mailto:" link with the address, subject and body percent-encoded (UTF-8), so that "&", "#",
// blanks, line breaks and Polish letters arrive as written.
QString mailtoUrl(const Message& m);
// The message as an unsent RFC 5322 file that mail programs open as a draft.
QByteArray emlText(const Message& m);

// A hand-off that finally failed: no way took the message, at once or when a mail program that
// had taken it ended with a failure later. Runs once.
using Failed = std::function<void()>;

// Opens the mail program on a mailto: link, else writes emlPath and opens it with its
// associated program.
bool openMailto(const Message& m, const QString& emlPath, const Failed& failed);
// Composes the message with its attachments in the mail program: through xdg-email, else by
// writing emlPath and opening it with its associated program.
// Both return false when the hand-off failed at once (`failed` has run then too).
bool composeMessage(const Message& m, const QString& emlPath, const Failed& failed);

}  // namespace mail
