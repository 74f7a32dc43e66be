#pragma once
#include "core/app.h"
#include <QTemporaryDir>
#include <memory>

// A fresh database made from the template in a temporary folder, opened in an App of its own.
class TempDatabase {
public:
    explicit TempDatabase(const QString& name = QStringLiteral("Firma.mdb"));
    App app;
    QTemporaryDir dir;
    QString path;
    db::Database& db() { return *app.gBaseDb; }
    // The template database built next to the program.
    static QString templatePath();
};

// A database filled once by `fill` (a function of the database) and kept for the whole run:
// benchmarks over many stored documents.
template <class Fill>
TempDatabase& filledOnce(Fill fill)
{
    static TempDatabase t;
    static const bool filled = (fill(t.db()), true);
    (void)filled;
    return t;
}
