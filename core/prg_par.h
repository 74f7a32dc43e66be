#pragma once
#include <QString>

// The program's settings as the rest of the program reads them, filled at start from the
// settings cache (PrgParRead). The initialisers are the settings' defaults: whoever reads a
// setting that is not stored yet (PrgParRead, the program parameters dialog) takes it from here.
struct PrgPar {
    QString BazaPlik;   // full path of the current database file
    QString BazaNazwa;  // its display name
    int BezMAPI = 0;    // how mail is handed over
    bool EnterToTab = true;
    int DataPrzed = 10;  // days before and after the anchor date in the side list
    int DataPo = 20;
    int TabPozLicz = 3;        // empty position rows of a new document
    int TabPozWiersz = 3;      // row height of the position grids, in text lines
    int TabKorKol = 14811135;  // background of the corrected-invoice grid, red in the lowest byte
    bool PanelAsysta = false;
    bool UstawPocz = false;
    QString PlatDni;
    QString PlatForma;
    QString PlatTermin;
    QString DokNazwa;
    QString Wystawil;
    // Kept outside the settings cache and read where they are used.
    bool AutoZapis = false;  // save-on-exit option, shown and stored only
    bool Instancje = false;  // several copies may run at once (read by the next start)
    int Stanowisko = 0;      // workstation number; the one in use is App::gStanowisko
};

// A setting's stored text: "1"/"0" for a flag, the decimal number otherwise.
inline QString settingText(bool flag)
{
    return flag ? QStringLiteral("1") : QStringLiteral("0");
}
inline QString settingText(int number)
{
    return QString::number(number);
}
