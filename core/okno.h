#pragma once

class App;
class QWidget;

// The main window's placement under the program key: "OknoLeft", "OknoTop", "OknoWidth",
// "OknoHeight" in twips, or "max" for a maximized window. Nothing stored, "max", or a stored
// width or height of 0 or less leaves the window as it was designed.
void OknoRead(App& app, QWidget& window);
void OknoSave(App& app, QWidget& window);

// Twips per pixel of the window's screen (15 at 96 dots per inch).
double twipsPerPixel(const QWidget& widget);
