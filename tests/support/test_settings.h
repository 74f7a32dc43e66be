#pragma once
#include "core/app.h"
#include "core/registry.h"
#include <QAtomicInt>

// A program key of its own for one test, so that tests never see each other's settings.
inline QString uniqueProgramKey()
{
    static QAtomicInt n;
    return kRegFamilyKey + QStringLiteral("\\Test%1").arg(n.fetchAndAddRelaxed(1));
}

// An App with its own program key and program folder (for files written beside the program).
inline void useTestSettings(App& app, const QString& folder = QString())
{
    app.gRegProgramKey = uniqueProgramKey();
    if (!folder.isEmpty()) app.programFolder = folder;
}
