#include "register/services.h"

// The print pipeline does nothing yet.
void ReportPrint(App&, const QString&, const QString&, const QString&, const QString&, const QStringList&) {}
void DokumentDrukuj(App&) {}
void KartotekaDrukuj(App&, const QString&, const QString&) {}
void PanelDrukuPokaz(App&, const QString&, QListWidget*) {}
