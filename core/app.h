#pragma once
#include "core/baza_par.h"
#include "core/prg_par.h"
#include "platform/database.h"
#include <QString>
#include <memory>

// The program's state for one run: its identity, the settings records, the open database and
// this workstation's number. Main creates one; tests create their own on temporary files.
class App {
public:
    QString gProgramKod = QStringLiteral("FR");
    QString title = QStringLiteral("Rolkwit");
    QString version = QStringLiteral(ROLKWIT_VERSION);
    QString programFolder;          // where the files that ship with the program are read from
    int gStanowisko = 0;
    PrgPar gPrgPar;
    BazaPar gBazaPar;

    std::unique_ptr<db::Database> gBaseDb;
    QString gBazaHaslo;
    bool gBazaWylacznie = false;
    bool gBazaOtwarta = false;
};
