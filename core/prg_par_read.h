#pragma once

class App;

// Reads the program settings through the settings cache into app.gPrgPar, in a fixed order
// (the order in which they are written back at exit). Each setting is converted on its own:
// a value out of its field's range falls back to that setting's default.
void PrgParRead(App& app);
// The help file beside the program.
void HelpFileSet(App& app);
