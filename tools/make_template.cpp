// Builds the template database from the schema script: make_template schema.sql Rolkwit.mbs
#include "platform/database.h"
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_template schema.sql output.mbs\n");
        return 2;
    }
    QFile schema(QString::fromLocal8Bit(argv[1]));
    if (!schema.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QString out = QString::fromLocal8Bit(argv[2]);
    QString tmp = out + ".tmp";
    QFile::remove(tmp);
    try {
        auto db = db::Database::create(tmp);
        db->executeScript(QString::fromUtf8(schema.readAll()));
    } catch (const AppError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        QFile::remove(tmp);
        return 1;
    }
    QFile::remove(out);
    return QFile::rename(tmp, out) ? 0 : 1;
}
