#pragma once

class App;

// The version this program needs of a database's structure (its own version number).
struct StructureVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};
StructureVersion programVersion(const App& app);
