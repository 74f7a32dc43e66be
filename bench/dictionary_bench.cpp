// Reading each dictionary of the side list from a database of 100 000 stored documents with
// three positions each, as the first showing after a save does.
#include "editor/dictionaries.h"
#include "editor/document_form.h"
#include "editor/side_list.h"
#include "support/temp_database.h"
#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

// Sellers come back: 5 000 farmers, a few of whom changed an account or an identity document
// over the years; names written now in one case, now in another. 300 products, 5 units and
// 4 VAT rates; every tenth document has remarks.
void fill(db::Database& db, int documents)
{
    db::Transaction tr(db);
    db::Statement d(db,
                    "INSERT INTO fadok (Stanowisko, Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, Nazdok, "
                    "Numdok, Datadok, Wyddok, PlatRach, PlatFor, PlatDni, PlatTer, Wystawil, Uwagi, RazNetto) "
                    "VALUES (0,'FR',?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    db::Statement p(db,
                    "INSERT INTO fapoz (Stanowisko, Inddok, Numer, Pozycja, Korekta, Nazwa, Ilosc, Indjed, Cenanet, "
                    "Indvat, WartNetto, WartVAT, WartBrutto) VALUES (0,'FR',?,?,0,?,?,?,?,?,?,?,?)");
    const QStringList forms = {"przelew", "gotówka", "Przelew", "kompensata"};
    const QStringList terms = {"od dnia dostarczenia towaru", "po odbiorze", "2024-05-20", "14 dni"};
    const QStringList units = {"kg", "t", "szt.", "l", "dt"};
    const QStringList rates = {"7", "8", "23", "zw"};
    const QStringList issuers = {"Anna Nowak", "Jan Kowalski", "Zofia Ślusarz"};
    const QDate start(2010, 1, 1);
    for (int i = 0; i < documents; ++i) {
        const QString numer = QStringLiteral("%1/%2").arg(i + 1).arg(2010 + i / 8000);
        const QDate date = start.addDays(i / 20);
        const int farmer = (i * 7919) % 5000;
        const int version = (i % 97 == 0) ? 1 : 0;  // a new account now and then
        QString name = QStringLiteral("Gospodarstwo Rolne %1 Żabiński").arg(farmer);
        if (i % 5 == 0) name = name.toUpper();
        d.bindAll({numer, date, date, name, QStringLiteral("Łąkowa %1, 32-650 Kęty").arg(farmer),
                   QString::number(8401011234LL + farmer), "Dowód osobisty",
                   QStringLiteral("ABC%1").arg(100000 + farmer), QDate(2015, 1, 1).addDays(farmer), "Wójt Gminy Kęty",
                   QStringLiteral("12 3456 7890 %1 %2").arg(farmer).arg(version), forms[i % forms.size()], 14,
                   terms[i % terms.size()], issuers[i % issuers.size()],
                   i % 10 == 0 ? QStringLiteral("Dostawa nr %1").arg(i % 700) : QString(), Decimal(300)});
        d.step();
        d.reset();
        for (int k = 1; k <= 3; ++k) {
            const int product = (i * 3 + k) % 300;
            const Decimal price = Decimal::fromUnits(10000 + (i % 500) * 100);
            p.bindAll({numer, k, QStringLiteral("Pszenica klasa %1").arg(product), Decimal(10),
                       units[product % units.size()], price, rates[product % rates.size()], price * Decimal(10),
                       Decimal(7), price * Decimal(10)});
            p.step();
            p.reset();
        }
    }
    tr.commit();
}

TempDatabase& database()
{
    return filledOnce([](db::Database& db) { fill(db, 100000); });
}

void BM_Dictionary(benchmark::State& state, const char* name)
{
    TempDatabase& t = database();
    size_t rows = 0;
    for (auto _ : state) {
        auto d = readDictionary(t.db(), QString::fromUtf8(name));
        if (!d)
            state.SkipWithError("no such dictionary");
        else
            rows = d->rows.size();
    }
    state.counters["rows"] = double(rows);
}

BENCHMARK_CAPTURE(BM_Dictionary, Kontrahenci, "Kontrahenci")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Dictionary, FormyPlatnosci, "Formy płatności")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Dictionary, Odroczenia, "Odroczenia płatności")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Dictionary, Terminy, "Terminy płatności")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Dictionary, Produkty, "Produkty")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Dictionary, Jednostki, "Jednostki miary")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Dictionary, StawkiVAT, "Stawki podatku VAT")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Dictionary, Uwagi, "Uwagi")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Dictionary, Wystawil, "Wystawil")->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The contractors read and shown in the side list, laid out and painted, as a save does while
// the list shows them.
void BM_SideListKontrahenci(benchmark::State& state)
{
    TempDatabase& t = database();
    DocumentForm form(t.app);
    form.resize(1100, 560);
    form.show();
    form.sideList()->PanelSlownikPokaz(QStringLiteral("Kontrahenci"));
    for (auto _ : state) {
        form.sideList()->PoZapisie();
        form.sideList()->viewport()->repaint();
        QApplication::processEvents();
    }
    state.counters["rows"] = double(form.sideList()->topLevelItemCount());
}
BENCHMARK(BM_SideListKontrahenci)->Unit(benchmark::kMillisecond);

}  // namespace
