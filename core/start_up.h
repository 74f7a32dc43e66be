#pragma once
#include <functional>
#include <memory>

class App;
class MainFrame;

using MainFrameFactory = std::function<std::unique_ptr<MainFrame>(App&)>;

// The program's start: identity, start window, settings, the single-copy test, the main window
// (made by `createMainWindow` and loaded), the workstation number, the start-up database and
// its backup. Returns the loaded main window, or nothing when another copy runs (it was
// brought to the front and this copy ends).
std::unique_ptr<MainFrame> Main(App& app, const MainFrameFactory& createMainWindow);

// True when another running copy was found and brought to the front. With "Instancje" = "1"
// several copies may run.
bool InstanceCheck(App& app);

// Switches the commands that need a database on the main window.
void MenuBaseEnable(App& app, bool enable);
