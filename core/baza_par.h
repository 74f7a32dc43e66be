#pragma once
#include <QString>

// Mirrors of the open database's parameters (table dbpar) that the program consults often.
struct BazaPar {
    bool BazaOdczyt = false;    // archive database: nothing may be changed
    QString NumSzablon;         // document number template
    bool NumMiesieczna = true;  // numbering restarts every month (else every year)
    bool NumAuto = true;        // numbers are proposed automatically
    bool NumEdycja = true;      // the user may change the proposed number
};
