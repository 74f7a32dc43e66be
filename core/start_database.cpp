#include "core/start_database.h"
#include "core/app.h"

// Stand-ins until the database connection lands: the program starts detached, with no backup.
bool OpenStartDatabase(App&) { return false; }
void OfferPeriodicBackup(App&) {}
