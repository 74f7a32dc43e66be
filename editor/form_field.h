#pragma once
#include <QString>
#include <functional>

// The document form's fields that others work with by name: those that show a dictionary in the
// side list when they take the focus, and those that a side list entry writes. The form maps
// each to its control; nobody else looks a control up.
enum class FormField {
    Datawyst,
    Datasprz,
    Nazkon,
    Adrkon,
    Nipkon,
    Nazdok,
    Numdok,
    Wyddok,
    PlatFor,
    Platdni,
    PlatTer,
    PlatRach,
    Pozycje,
    Uwagi,
    Wystawil,
};

// The side list as a drop target sees it: the kind of entry it shows, and applying the entry
// selected in it, as a double click does.
struct SideListEntries {
    std::function<QString()> kind;
    std::function<void()> apply;
};
