#include "core/program_files.h"
#include "core/app.h"
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString programFile(const App& app, const QString& name)
{
    return QDir(app.programFolder).filePath(name);
}

QString writableProgramFile(const App& app, const QString& name)
{
    QFileInfo folder(app.programFolder);
    if (!app.programFolder.isEmpty() && folder.isDir() && folder.isWritable()) {
        QFileInfo file(programFile(app, name));
        if (!file.exists() || file.isWritable()) return file.filePath();
    }
    return userDataFile(name);
}

QString userDataFile(const QString& name)
{
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return QDir(data).filePath(name);
}
