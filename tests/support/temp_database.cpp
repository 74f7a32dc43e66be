#include "support/temp_database.h"
#include <QFile>
#include <stdexcept>

QString TempDatabase::templatePath()
{
    return QStringLiteral(ROLKWIT_PROGRAM_DIR "/Rolkwit.mbs");
}

TempDatabase::TempDatabase(const QString& name)
{
    path = dir.filePath(name);
    if (!QFile::copy(templatePath(), path)) throw std::runtime_error("no template database");
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    app.programFolder = dir.path();
    app.gPrgPar.BazaPlik = path;
    app.gBaseDb = db::Database::open(path);
    app.gBazaOtwarta = true;
}
