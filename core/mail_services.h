#pragma once
#include <QString>

class App;

// Mail and shell services. Every mail mode ends in the user's mail program showing the
// message for the user to send; when its own way fails, the message is written as an .eml file
// and opened with its associated program. A hand-off that nothing took is reported in a message
// box: at once (and returned as false), or when the mail program that took it fails later.

// Mode 1 ("BezMAPI" = 1): a mailto: link with the address, subject and body percent-encoded.
bool MailLink(App& app, const QString& to, const QString& subject, const QString& body);
// The composing modes: the message with its attachments (paths separated by ";", every
// non-empty part attached) composed in the mail program; an HTML body when it holds "<html>".
bool SendOutlookMail(App& app, const QString& subject, const QString& to, const QString& body,
                     const QString& attachments);
// As SendOutlookMail; a recipient without "@" is replaced by a placeholder the user overwrites.
bool SendOutlook2010Mail(App& app, const QString& subject, const QString& to, const QString& body,
                         const QString& attachments);
// By the mail mode app.gPrgPar.BezMAPI: 1 the link (when there is nothing to attach, since a
// link carries no files), 3 SendOutlook2010Mail, any other SendOutlookMail.
bool MailByMode(App& app, const QString& subject, const QString& to, const QString& body, const QString& attachments);

// Opens a written message (an .eml file) in the program the desktop associates with it; a
// hand-off that fails, at once or later, is reported as the composing modes report it.
bool MessageOpen(App& app, const QString& emlPath);

// Whether the desktop knows a program to open folder/file; otherwise shows why and returns false.
bool FileOpenExec(App& app, const QString& file, const QString& folder, const QString& message);
// Opens a file with the program the desktop associates with it; says so when none took it.
bool FileOpenShow(const QString& path);
// A question to the maker's support by e-mail.
void PytanieWyslij(App& app);

inline const QString kPlaceholderRecipient = QStringLiteral("adresat@example.com");
