#pragma once

// The document form's fields that others work with by name: those that show a dictionary in the
// side list when they take the focus, those that a side list entry writes, and those a refused
// save sends the focus to. The form maps each to its control; nobody else looks a control up.
enum class FormField {
    Numer,
    Datawyst,
    Datasprz,
    Kornum,
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
    TabPoz,  // the tabs of the two position grids
    Pozycje,
    PozycjeKor,  // the rows before the correction
    Uwagi,
    Wystawil,
};
