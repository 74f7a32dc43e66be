#pragma once
#include "documents/form_field.h"
#include <QString>
#include <functional>

// The side list as a drop target sees it: the kind of entry it shows, and applying the entry
// selected in it, as a double click does.
struct SideListEntries {
    std::function<QString()> kind;
    std::function<void()> apply;
};
