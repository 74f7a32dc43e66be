#pragma once
#include <QString>

class App;

// Mail and shell services. Every mail mode ends in the user's mail program showing the
// message for the user to send; when its own way fails, the message is written as an .eml file
// among the user's data, under a name no earlier message has ("wiadomosc.eml", "wiadomosc-2.eml"...),
// and opened with its associated program. A hand-off that nothing took is reported in a message
// box that says where the unsent message file was left: at once (and returned as false), or when
// the mail program that took it fails later. While a mail program is waited for, the windows
// repaint and the user's clicks and keys are dropped. An attachment that cannot be read is said, and nothing is
// handed over.

// Mode 1 ("BezMAPI" = 1): a mailto: link with the address, subject and body percent-encoded.
bool mailLink(App& app, const QString& to, const QString& subject, const QString& body);
// Mode 2: the message with its attachments (paths separated by ";", every non-empty part
// attached) composed in the mail program; an HTML body when it holds "<html>". Its failure is
// told in its own words ("... stosując aplikację MS Outlook ...", title "Błąd nr 429").
bool SendOutlookMail(App& app, const QString& subject, const QString& to, const QString& body,
                     const QString& attachments);
// Mode 3: as SendOutlookMail, its failure (an attachment that cannot be read included) told in
// the error dialog under the name "SendOutlook2010Mail", with where the unsent message was left;
// a recipient without "@" is replaced by a placeholder the user overwrites.
bool SendOutlook2010Mail(App& app, const QString& subject, const QString& to, const QString& body,
                         const QString& attachments);
// By the mail mode app.gPrgPar.BezMAPI: 1 the link (when there is nothing to attach, since a
// link carries no files), 2 SendOutlookMail, 3 SendOutlook2010Mail; any other mode, and mode 1
// with attachments, composes the message as mode 2 does.
bool mailByMode(App& app, const QString& subject, const QString& to, const QString& body, const QString& attachments);

// A new folder of its own among the user's data for the files of one sending: a mail program
// that reads an attachment only when the user presses send finds it as it was handed over,
// whatever is sent after it. Folders of sendings more than a day old are removed first, so the
// data folder does not grow without bound. Empty when no folder could be made.
QString sendingFolder();

// Opens a written message (an .eml file) in the program the desktop associates with it; a
// hand-off that fails, at once or later, is reported as the other modes report it.
bool messageOpen(App& app, const QString& emlPath);

// Whether the desktop knows a program to open folder/file; otherwise shows why and returns false.
bool FileOpenExec(App& app, const QString& file, const QString& folder, const QString& message);
// Opens a file with the program the desktop associates with it; says so when none took it.
bool fileOpenShow(const QString& path);
// A question to the maker's support by e-mail.
void PytanieWyslij(App& app);

inline const QString kPlaceholderRecipient = QStringLiteral("adresat@example.com");
