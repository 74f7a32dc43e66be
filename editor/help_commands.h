#pragma once
#include <QString>

class App;

// The help menu and the upgrade command: files and programs that ship beside the program. Each
// opens what it names when it is there and says so when it is not.

// "Spis treści" and "Indeks": the help file in the desktop's viewer for it (which chooses the
// page it opens on).
void mnuPomocSpis_Click(App& app);
// "Podręcznik użytkownika (pdf)": the manual in the desktop's PDF viewer.
void mnuPomocPodrecznik_Click(App& app);
// "Strona internetowa programu": the program's web page (App::webAddress) in the browser.
void mnuPomocInternet_Click(App& app);
// "Aktualizuj program": starts the upgrade program beside the program without waiting for it.
// Its older versions (dated before 20 October 2005) are given the main window's caption.
void mnuNarzAktual_Click(App& app, const QString& caption);

// The upgrade program's file name in the program folder.
inline const QString kUpgradeProgram = QStringLiteral("Upgrade.exe");
