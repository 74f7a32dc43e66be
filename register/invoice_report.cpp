#include "register/invoice_report.h"
#include "core/app.h"
#include "core/base_par.h"
#include "core/error_report.h"
#include "core/registry.h"
#include "core/shared_procs.h"
#include "platform/date_text.h"
#include "register/print_state.h"
#include "register/rap_fanet1.h"
#include "register/report_format.h"
#include "register/slownie.h"
#include <QImage>

namespace {

const QString kFaktura = QStringLiteral("Faktura VAT RR");
const QString kKorekta = QStringLiteral("Korekta faktury VAT RR");

bool isCorrection(const QString& rodzaj)
{
    return rodzaj.left(3) == QLatin1String("KFR");
}

// A step whose failure leaves the report without that text, as a template without the object would.
template <class F>
void skipping(F&& step)
{
    try {
        step();
    } catch (...) {
    }
}

// `f` of the document's stored header; `none` when there is no such document, and after a
// database error, which is reported with `place`.
template <class T, class F>
T fromStoredHeader(App& app, const QString& numer, const QString& place, T none, F f)
{
    try {
        auto h = DocHeader::stored(*app.gBaseDb, numer);
        return h ? T(f(*h)) : none;
    } catch (...) {
        ErrorReport(app, place);
        return none;
    }
}

QString option(App& app, const char* name)
{
    return RegRead(app.gRegProgramKey, QString::fromLatin1(name), QStringLiteral("0"));
}

}  // namespace

ReportQuery RaportSQL(App& app, const QString&, const QString& szablon, QStringList& naglowki)
{
    if (szablon != QLatin1String("rapFANET1") && szablon != QLatin1String("rapFANET2")) return {};
    skipping([&] { RapNaglowki(app, naglowki, QStringLiteral("dokument")); });
    const PrintState& st = printState(app);
    const bool roznice = isCorrection(st.gRepPar[0]) &&
                         RegParRead(app, QStringLiteral("DrukRoznice"), QStringLiteral("0")) == QLatin1String("1");
    return documentQuery(st.gRepPar[1], roznice);
}

void RapNaglowki(App& app, QStringList& naglowki, const QString& rodzaj)
{
    if (rodzaj != QLatin1String("dokument")) return;
    naglowki = QStringList(6);
    for (int i = 1; i <= 5; ++i)
        naglowki[i] = BaseParRead(app, *app.gBaseDb, QStringLiteral("DokNaglowek%1").arg(i), QString());
}

std::shared_ptr<report::Report> RaportObiekt(const QString& szablon)
{
    if (szablon == QLatin1String("rapFANET1")) return invoiceTemplate();
    return nullptr;
}

Decimal RapStawkiVAT(App& app, const QString&, const QString& numer, std::vector<VatRateSum>& stawki)
{
    Decimal brutto;
    try {
        for (VatRateSum& s : vatRateSums(*app.gBaseDb, numer)) {
            brutto += s.brutto;
            stawki.push_back(std::move(s));
        }
    } catch (...) {
        ErrorReport(app, QString());
        return Decimal();
    }
    return brutto;
}

Decimal RapKwoty(App& app, const QString&, const QString& numer, Decimal& netto, Decimal& potracenie, QDate& datawyst)
{
    return fromStoredHeader(app, numer, QString(), Decimal(), [&](const DocHeader& h) {
        potracenie = h.Potracenie.value_or(Decimal());
        datawyst = h.Datawyst;
        netto = h.RazNetto.value_or(Decimal());
        return h.DoZaplaty.value_or(Decimal());
    });
}

QString RapSprzedawca(App& app, const QString&, const QString& numer)
{
    return fromStoredHeader(app, numer, QString(), QString(),
                            [](const DocHeader& h) { return h.Nazkon + QStringLiteral(", zam. ") + h.Adrkon; });
}

QString RapFundusz(App& app, const QString&, const QString& numer)
{
    return fromStoredHeader(app, numer, QString(), QString(), [](const DocHeader& h) { return h.Fundusz; });
}

QString DoDokumentu(App& app, const QString&, const QString& numer)
{
    return fromStoredHeader(app, numer, QStringLiteral("DoDokumentu"), QString(), [](const DocHeader& h) {
        return QStringLiteral("do dokumentu: ") + correctedDocumentText(h);
    });
}

QString documentTitle(const QString& rodzaj)
{
    return rodzaj.left(2) == QLatin1String("FR") ? kFaktura : kKorekta;
}

QString correctedDocumentText(const DocHeader& h)
{
    return documentTitle(h.KorInddok) + QStringLiteral(" Nr ") + h.KorNumer + QStringLiteral(" z dnia ") +
           dateText(h.KorDatawyst);
}

QString buyerStatement(const QString& nabywca, const QString& sprzedawca, Decimal potracenie, const QString& fundusz,
                       Decimal netto, const QString& numer, const QDate& datawyst)
{
    static const QString kWzor = QStringLiteral(
        "Nabywca: xxx oświadcza, że dokonał naliczenia i pobrania od Sprzedawcy-Rolnika ryczałtowego: yyy kwoty zzz "
        "PLN "
        "tytułem wpłaty na fff, o którym mowa w art 2 ust. 1 ustawy o funduszach promocji produktów rolno-spozywczych "
        "z "
        "dnia 22 maja 2009r (Dz.U.Nr 97 Poz.799 z 2009r) należnej od kwoty aaa, stanowiącej wartość netto produktów "
        "nabytych na podstawie faktury VAT RR nr bbb z dnia ccc");
    return fillFields(kWzor, {{QStringLiteral("xxx"), nabywca},
                              {QStringLiteral("yyy"), sprzedawca},
                              {QStringLiteral("zzz"), reportAmountText(potracenie)},
                              {QStringLiteral("fff"), fundusz},
                              {QStringLiteral("aaa"), reportAmountText(netto)},
                              {QStringLiteral("bbb"), numer},
                              {QStringLiteral("ccc"), dateText(datawyst)}});
}

void RaportFormuly(App& app, report::Report& raport, const QString& szablon)
{
    if (szablon != QLatin1String("rapFANET1")) return;
    PrintState& st = printState(app);
    const QString rodzaj = st.gRepPar[0];
    const QString numer = st.gRepPar[1];
    db::Database& db = *app.gBaseDb;

    if (isCorrection(rodzaj))
        skipping([&] { raport.setText(QStringLiteral("tytDoDokumentu"), DoDokumentu(app, rodzaj, numer)); });
    skipping([&] {
        raport.setText(QStringLiteral("tytDokument"),
                       documentTitle(rodzaj) + QLatin1Char(' ') +
                           BaseParRead(app, db, QStringLiteral("DokZnacznik"), QString()));
    });
    skipping([&] {
        // Every rate of the document is listed.
        std::vector<VatRateSum> stawki;
        RapStawkiVAT(app, rodzaj, numer, stawki);
        report::Table t;
        t.columns = QStringList{QStringLiteral("Stawka"), QStringLiteral("Netto"), QStringLiteral("VAT"),
                                QStringLiteral("Brutto")};
        for (const VatRateSum& s : stawki)
            t.rows.push_back(
                {vatRateText(s.kod), reportAmountText(s.netto), reportAmountText(s.vat), reportAmountText(s.brutto)});
        raport.setTable(kTabelaStawek, std::move(t));
    });
    skipping([&] {
        raport.setText(QStringLiteral("uwaStopka"), BaseParRead(app, db, QStringLiteral("DokStopka"), QString()));
    });

    Decimal netto, potracenie;
    QDate datawyst;
    skipping([&] {
        const Decimal doZaplaty = RapKwoty(app, rodzaj, numer, netto, potracenie, datawyst);
        raport.setText(QStringLiteral("txtSlownie"), QStringLiteral("Słownie: ") + Slownie(doZaplaty, QString()));
    });

    skipping([&] {
        if (option(app, "DrukOryginal") == QLatin1String("1")) {
            raport.setSuppressed(QStringLiteral("rapOryginal"), false);
            raport.setSuppressed(QStringLiteral("rapKopia"), false);
            raport.setText(QStringLiteral("rapKopia"), QStringLiteral("KOPIA"));
        }
        if (option(app, "DrukOryKop") == QLatin1String("1")) {
            if (st.gDrukEgzemplarz.isEmpty()) st.gDrukEgzemplarz = QStringLiteral("ORYGINAŁ");
            raport.setSuppressed(QStringLiteral("rapOryginal"), true);
            raport.setSuppressed(QStringLiteral("rapKopia"), false);
            raport.setText(QStringLiteral("rapKopia"), st.gDrukEgzemplarz);
            st.gDrukEgzemplarz.clear();
        }
        if (option(app, "DrukWystaw") == QLatin1String("1")) raport.setSuppressed(QStringLiteral("txtWystawil"), true);
        if (option(app, "DrukDuplikat") == QLatin1String("1")) {
            raport.setText(QStringLiteral("tytDuplikat"),
                           QStringLiteral("DUPLIKAT DOKUMENTU - data wystawienia: ") + dateText(QDate::currentDate()));
            raport.setSuppressed(QStringLiteral("tytDuplikat"), false);
        }
        const bool oswiadczenie = option(app, "DrukOswiadczenie") == QLatin1String("1");
        raport.setSuppressed(QStringLiteral("Section18"), !oswiadczenie);
        raport.setText(
            QStringLiteral("opisOtrzymal"),
            oswiadczenie
                ? QStringLiteral("Podpis sprzedawcy - osoby uprawnionej do otrzymania faktury i złożenia oświadczenia")
                : QStringLiteral("Podpis sprzedawcy - osoby uprawnionej do otrzymania faktury"));
    });

    QString fundusz;
    skipping([&] { fundusz = RapFundusz(app, rodzaj, numer); });
    skipping([&] {
        const QString nabywca = BaseParRead(app, db, QStringLiteral("DokNaglowek1"), QString()) + QLatin1Char(' ') +
                                BaseParRead(app, db, QStringLiteral("DokNaglowek2"), QString());
        raport.setText(QStringLiteral("txtOswNabywcy"), buyerStatement(nabywca, RapSprzedawca(app, rodzaj, numer),
                                                                       potracenie, fundusz, netto, numer, datawyst));
    });
    raport.setText(QStringLiteral("txtPotracenie"),
                   QStringLiteral("Potrącenie 0,1 % wartości netto na ") + fundusz + QLatin1Char(':'));
}

void Section2_Format(App& app, report::Report& raport)
{
    skipping([&] {
        report::Element* logo = raport.element(QStringLiteral("picLogo"));
        if (!logo) return;
        QString plik;
        if (logo->image.isNull() && LogoRead(app, *app.gBaseDb, plik)) logo->image = QImage(plik);
        if (logo->image.isNull()) {
            logo->suppressed = true;
            RapWithoutLogo(app, raport);
        }
    });
}

void RapWithoutLogo(App& app, report::Report& raport)
{
    try {
        // 120 twips from the edge.
        constexpr double kLeftMm = 120.0 / 1440.0 * 25.4;
        raport.setLeft(QStringLiteral("labNabywca"), kLeftMm);
        for (int i = 1; i <= 5; ++i) raport.setLeft(QStringLiteral("nagRap%1").arg(i), kLeftMm);
    } catch (...) {
        ErrorReport(app, QStringLiteral("RapWithoutLogo"));
    }
}
