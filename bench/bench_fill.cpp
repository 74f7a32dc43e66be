#include "bench_fill.h"
#include "documents/numbering.h"
#include "platform/database.h"
#include "platform/decimal.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <stdexcept>

namespace bench {

namespace {

const QDate kFirstDay(2010, 1, 1);
const qint64 kDays = 5000;  // to September 2023

QString dataFolder()
{
    QString folder = qEnvironmentVariable("ROLKWIT_BENCH_DATA");
    if (folder.isEmpty()) folder = QStringLiteral(ROLKWIT_BENCH_DATA);
    QDir().mkpath(folder);
    return folder;
}

void fill(db::Database& db, qint64 documents)
{
    db::Transaction tr(db);
    db::Statement d(db, "INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Datasprz, KorInddok, KorNumer, "
                        "KorDatawyst, Nazkon, Adrkon, Nipkon, Nazdok, Numdok, Datadok, Wyddok, PlatRach, PlatFor, "
                        "PlatDni, PlatTer, Wystawil, Uwagi, RazNetto, RazVAT, RazBrutto, Potracenie, DoZaplaty, "
                        "Zaplacono, Fundusz) VALUES (0,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    db::Statement p(db,
                    "INSERT INTO fapoz (Stanowisko, Inddok, Numer, Pozycja, Korekta, Nazwa, Ilosc, Indjed, Cenanet, "
                    "Indvat, WartNetto, WartVAT, WartBrutto) VALUES (0,?,?,?,?,?,?,?,?,?,?,?,?)");
    const QStringList forms = {"przelew", "gotówka", "Przelew", "kompensata"};
    const QStringList terms = {"od dnia dostarczenia towaru", "po odbiorze", "2024-05-20", "14 dni"};
    const QStringList units = {"kg", "t", "szt.", "l", "dt"};
    const QStringList rates = {"7", "8", "23", "zw"};
    const QStringList issuers = {"Anna Nowak", "Jan Kowalski", "Zofia Ślusarz"};
    std::vector<qint64> perMonth(kDays / 28 + 2, 0);
    QString previous;
    QDate previousDate;
    for (qint64 i = 0; i < documents; ++i) {
        const QDate date = kFirstDay.addDays(i * kDays / documents);
        const int month = (date.year() - kFirstDay.year()) * 12 + date.month() - 1;
        const QString numer = NumberUtworz(++perMonth[month], date, QStringLiteral("Numer/Miesiąc/Rok[4]"));
        const bool correction = i % 50 == 49;
        const int farmer = int((i * 7919) % 5000);
        QString name = QStringLiteral("Gospodarstwo Rolne %1 Żabiński").arg(farmer);
        if (i % 5 == 0) name = name.toUpper();
        const int sign = correction ? -1 : 1;
        const Decimal netto = Decimal::fromUnits(sign * (1000000 + i % 997 * 10000));
        const Decimal vat = Decimal::fromUnits(netto.units() * 7 / 100);
        const Decimal brutto = netto + vat;
        const Decimal potracenie = i % 5 ? Decimal() : Decimal(sign);
        d.bindAll({correction ? "KFR" : "FR",
                   numer,
                   date,
                   date,
                   correction ? db::Value("FR") : db::Value(),
                   correction ? db::Value(previous) : db::Value(),
                   correction ? db::Value(previousDate) : db::Value(),
                   name,
                   QStringLiteral("Łąkowa %1, 32-650 Kęty").arg(farmer),
                   QString::number(8401011234LL + farmer),
                   "Dowód osobisty",
                   QStringLiteral("ABC%1").arg(100000 + farmer),
                   QDate(2015, 1, 1).addDays(farmer),
                   "Wójt Gminy Kęty",
                   QStringLiteral("12 3456 7890 %1 %2").arg(farmer).arg(i % 97 == 0 ? 1 : 0),
                   forms[i % forms.size()],
                   14,
                   terms[i % terms.size()],
                   issuers[i % issuers.size()],
                   i % 10 == 0 ? db::Value(QStringLiteral("Dostawa nr %1").arg(i % 700)) : db::Value(),
                   netto,
                   vat,
                   brutto,
                   potracenie,
                   brutto - potracenie,
                   i % 3 ? db::Value() : db::Value(brutto - potracenie),
                   i % 5 ? db::Value() : db::Value("Fundusz Promocji Zbóż")});
        d.step();
        d.reset();
        for (int k = 1; k <= 3; ++k) {
            const qint64 product = (i * 3 + k) % 300;
            const Decimal price = Decimal::fromUnits(10000 + (i % 500) * 100);
            const Decimal value = price * Decimal(10) * Decimal(sign);
            p.bindAll({correction ? "KFR" : "FR", numer, k, correction,
                       QStringLiteral("Pszenica klasa %1").arg(product), Decimal(10 * sign),
                       units[product % units.size()], price, rates[product % rates.size()], value, Decimal(), value});
            p.step();
            p.reset();
        }
        previous = numer;
        previousDate = date;
    }
    tr.commit();
}

void copyPrivately(const QString& from, const QString& to)
{
    if (!QFile::copy(from, to)) throw std::runtime_error("cannot copy the filled database");
    QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

}  // namespace

qint64 documents()
{
    const qint64 n = qEnvironmentVariableIntValue("ROLKWIT_BENCH_DOCUMENTS");
    return n > 0 ? n : 100000;
}

QDate newestMonthDay()
{
    return QDate(2023, 9, 15);
}

QDate oldMonthDay()
{
    return QDate(2010, 2, 15);
}

void bufferFifty(App& app, const QDate& day)
{
    std::vector<TypedRow> rows;
    for (int k = 1; k <= 50; ++k)
        rows.push_back({QStringLiteral("Towar %1").arg(k), QString::number(k), "kg", "12,34", "7"});
    bufferDocument(app, invoiceHeader("?", day), rows);
}

void numberedAtSave(App& app)
{
    app.gBazaPar.NumSzablon = QStringLiteral("Numer/Miesiąc/Rok[4]");
    app.gBazaPar.NumMiesieczna = true;
    app.gBazaPar.NumAuto = true;
    app.gBazaPar.NumEdycja = false;
}

double residentMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

QString filledFile(qint64 documents, const QString& haslo)
{
    const QString name = QStringLiteral("filled-%1%2.mdb").arg(documents).arg(haslo.isEmpty() ? "" : "-haslo");
    const QString path = QDir(dataFolder()).filePath(name);
    if (QFileInfo::exists(path)) return path;
    // Built under a name of this process's own: two benchmarks filling at once do not mix.
    const QString partial = path + QStringLiteral(".part%1").arg(QCoreApplication::applicationPid());
    QFile::remove(partial);
    if (haslo.isEmpty()) {
        std::fprintf(stderr, "filling %lld documents into %s\n", documents, qPrintable(path));
        copyPrivately(TempDatabase::templatePath(), partial);
        auto db = db::Database::open(partial);
        fill(*db, documents);
    } else {
        copyPrivately(filledFile(documents), partial);
        auto db = db::Database::open(partial, QString(), {.exclusive = true});
        db->changePassword(haslo);
    }
    if (!QFile::rename(partial, path) && !QFileInfo::exists(path))
        throw std::runtime_error("cannot keep the filled database");
    QFile::remove(partial);
    return path;
}

FilledDatabase::FilledDatabase(const QString& haslo, qint64 documents)
{
    path = dir.filePath(QStringLiteral("Firma.mdb"));
    copyPrivately(filledFile(documents, haslo), path);
    app.programFolder = dir.path();
    app.gPrgPar.BazaPlik = path;
    app.gBazaHaslo = haslo;
    app.gBaseDb = db::Database::open(path, haslo);
    app.gBazaOtwarta = true;
}

}  // namespace bench
