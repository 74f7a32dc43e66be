#pragma once
#include "core/app.h"
#include <QTemporaryDir>

// The stored documents the benchmarks work on: invoices spread evenly from January 2010 to
// September 2023 (every fiftieth a correction of the invoice before it), monthly numbers
// "n/m/yyyy", three positions each; 5 000 farmers who come back, some with a changed account,
// names written now in one case, now in another; 300 products, 5 units, 4 VAT rates; a third of
// the documents paid, every tenth with remarks.
//
// The size is chosen per run with the environment variable ROLKWIT_BENCH_DOCUMENTS (10000,
// 100000 or 1000000; 100000 when unset). The filled file is built once per size and password in
// build/bench/data (or the folder ROLKWIT_BENCH_DATA names) and reused by later runs; every benchmark works on a copy
// of its own, so a document one of them saves never lands in another's month.

namespace bench {

// The number of documents this run works on.
qint64 documents();

// The process's resident memory in megabytes.
double residentMb();

// The newest and an old month of the filled documents, for saves dated there.
QDate newestMonthDay();
QDate oldMonthDay();

// A document of 50 positions dated `day` in this workstation's buffer, as typed before a save.
void bufferFifty(App& app, const QDate& day);
// Monthly numbers taken at the moment of saving.
void numberedAtSave(App& app);

// The filled master file for `documents` documents under `haslo` (none: a plain file), built
// on first use. Never written by a benchmark: take a FilledDatabase copy.
QString filledFile(qint64 documents, const QString& haslo = QString());

// A fresh copy of the filled file in a temporary folder, opened in an App of its own.
class FilledDatabase {
public:
    explicit FilledDatabase(const QString& haslo = QString(), qint64 documents = bench::documents());
    QTemporaryDir dir;
    QString path;
    App app;
    db::Database& db() { return *app.gBaseDb; }
};

// A filled copy kept for the whole run by the benchmark that asks for it (one per call site).
#define BENCH_FILLED_ONCE(...)                                                                                         \
    ([]() -> bench::FilledDatabase& {                                                                                  \
        static bench::FilledDatabase filled{__VA_ARGS__};                                                              \
        return filled;                                                                                                 \
    }())

}  // namespace bench
