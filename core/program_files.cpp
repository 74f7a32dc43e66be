#include "core/program_files.h"
#include "core/app.h"
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramFile(const App& app, const QString& name)
{
    return QDir(app.programFolder).filePath(name);
}

QString WritableProgramFile(const App& app, const QString& name)
{
    QFileInfo folder(app.programFolder);
    if (!app.programFolder.isEmpty() && folder.isDir() && folder.isWritable()) {
        QFileInfo file(ProgramFile(app, name));
        if (!file.exists() || file.isWritable()) return file.filePath();
    }
    return UserDataFile(name);
}

QString UserDataFile(const QString& name)
{
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return QDir(data).filePath(name);
}
