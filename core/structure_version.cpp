#include "core/structure_version.h"
#include "core/app.h"
#include <QStringList>

StructureVersion programVersion(const App& app)
{
    QStringList parts = app.version.split('.');
    return {parts.value(0).toInt(), parts.value(1).toInt(), parts.value(2).toInt()};
}
