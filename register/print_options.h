#pragma once
#include <QString>
#include <array>

class App;
class QTreeWidget;

// The six print options beside the preview, each a setting "1" (on) or "0" (off) kept both in
// the settings store and in the settings cache.
struct PrintOption {
    const char* tekst;  // the list item's text
    const char* nazwa;  // the setting
};
inline constexpr std::array<PrintOption, 6> kPrintOptions{{{"Oryginał, Kopia", "DrukOryginal"},
                                                           {"Oryginał + Kopia", "DrukOryKop"},
                                                           {"Duplikat dokumentu", "DrukDuplikat"},
                                                           {"Tylko różnice korekty", "DrukRoznice"},
                                                           {"Oświadczenie", "DrukOswiadczenie"},
                                                           {"Ukryj wystawiającego", "DrukWystaw"}}};

// Fills the options list when the panel is "Podglad dokumentu"; any other panel does nothing.
void PanelDrukuPokaz(App& app, const QString& panel, QTreeWidget* lstPardruk);
// Fills the list once: later calls keep the marks the user left. Items are checked from the
// settings cache; the duplicate mark always starts unchecked.
void DrukParametryLista(App& app, QTreeWidget* lstPardruk);
// Stores the option of the item the user checked or unchecked (`tekst`, compared exactly) in
// both stores. The two markings exclude each other: changing one switches the other off, and
// the index of the other's item is returned when it is to be unchecked, else -1.
int printOptionChanged(App& app, const QString& tekst, bool zaznaczona);
// Opening the preview switches the duplicate mark off in both stores and in the list.
void turnOffDuplicate(App& app, QTreeWidget* lstPardruk);
