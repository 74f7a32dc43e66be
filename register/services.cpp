#include "register/services.h"

void KartotekaOdswiez(App&) {}
void WykresOdswiez(App&) {}
