#include "register/services.h"

void KartotekaOdswiez(App&) {}
void WykresOdswiez(App&) {}
void ReportPrint(App&, const QString&, const QString&, const QString&, const QString&, const QStringList&) {}
void DokumentDrukuj(App&) {}
void PanelDrukuPokaz(App&, const QString&, QListWidget*) {}
