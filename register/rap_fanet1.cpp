#include "register/rap_fanet1.h"
#include "documents/doc_header.h"
#include "documents/positions.h"
#include "platform/date_text.h"
#include "register/report_format.h"

using report::Align;
using report::Element;
using report::Section;
using report::Style;

namespace {

const QString kStatementOfFarmer = QStringLiteral(
    "Oświadczam, że jestem rolnikiem ryczałtowym zwolnionym od podatku od towarów i usług na podstawie art. 43 "
    "ust. 1 pkt 3 ustawy o podatku od towarów i usług.");

Style style(double points, bool bold = false, Align align = Align::Left)
{
    Style s;
    s.points = points;
    s.bold = bold;
    s.align = align;
    return s;
}

Style small()
{
    Style s = style(6.5);
    s.color = QColor(0x55, 0x55, 0x55);
    return s;
}
Style cell(Align align = Align::Right)
{
    Style s = style(8, false, align);
    s.frame = true;
    s.stretch = true;
    return s;
}
// A cell of an amount, a price or a quantity: one line whatever its size.
Style amountCell()
{
    Style s = cell(Align::Right);
    s.oneLine = true;
    return s;
}
Style headCell()
{
    Style s = style(7, true, Align::Center);
    s.frame = true;
    s.shade = true;
    s.stretch = true;
    return s;
}

Element text(const QString& name, const QString& t, QRectF r, Style s = style(8))
{
    Element e;
    e.name = name;
    e.text = t;
    e.rect = r;
    e.style = s;
    return e;
}

Element field(const QString& column, const QString& pattern, QRectF r, Style s = style(8), bool hideEmpty = false)
{
    Element e;
    e.kind = Element::Kind::Field;
    e.name = QStringLiteral("fld") + column;
    e.column = column;
    e.table = kTabelaDokumentu;
    e.text = pattern;
    e.rect = r;
    e.style = s;
    e.hideEmpty = hideEmpty;
    return e;
}

Element line(double x, double y, double w, double h = 0)
{
    Element e;
    e.kind = Element::Kind::Line;
    e.rect = QRectF(x, y, w, h);
    return e;
}

Section section(const QString& name, Section::Kind kind, double height, std::vector<Element> elements,
                const QString& table = QString())
{
    Section s;
    s.name = name;
    s.kind = kind;
    s.height = height;
    s.table = table;
    s.elements = std::move(elements);
    return s;
}

// The columns of the positions table and of the VAT summary under it, in millimetres.
struct Column {
    const char* head;
    double x, w;
};
const Column kLp{"Lp.", 0, 8}, kNazwa{"Nazwa produktu", 8, 56}, kIlosc{"Ilość", 64, 18}, kJm{"J.m.", 82, 11},
    kCena{"Cena jedn. netto", 93, 18}, kNetto{"Wartość netto", 111, 20}, kStawka{"Stawka VAT", 131, 13},
    kVat{"Kwota VAT", 144, 20}, kBrutto{"Wartość brutto", 164, 22};

QRectF at(const Column& c, double y, double h)
{
    return QRectF(c.x, y, c.w, h);
}

void pageHeader(report::Report& r)
{
    Element logo;
    logo.kind = Element::Kind::Picture;
    logo.name = QStringLiteral("picLogo");
    logo.rect = QRectF(0, 0, 34, 24);
    std::vector<Element> e{
        logo, text(QStringLiteral("labNabywca"), QStringLiteral("Nabywca"), QRectF(38, 0, 72, 3.5), small())};
    e.push_back(text(QStringLiteral("nagRap1"), QString(), QRectF(38, 3.6, 72, 4.6), style(9.5, true)));
    for (int i = 2; i <= 5; ++i)
        e.push_back(text(QStringLiteral("nagRap%1").arg(i), QString(), QRectF(38, 8.4 + (i - 2) * 3.9, 72, 3.8)));
    e.push_back(text(QStringLiteral("tytDokument"), QString(), QRectF(112, 0, 74, 6), style(13, true, Align::Right)));
    e.push_back(field(QStringLiteral("Numer"), QStringLiteral("nr %1"), QRectF(112, 6.5, 74, 5.5),
                      style(11, true, Align::Right)));
    Element oryginal = text(QStringLiteral("rapOryginal"), QStringLiteral("ORYGINAŁ /"), QRectF(112, 12.5, 54, 4.5),
                            style(8.5, true, Align::Right));
    oryginal.suppressed = true;
    Element kopia =
        text(QStringLiteral("rapKopia"), QStringLiteral("KOPIA"), QRectF(167, 12.5, 19, 4.5), style(8.5, true));
    kopia.suppressed = true;
    Element duplikat =
        text(QStringLiteral("tytDuplikat"), QString(), QRectF(112, 17.5, 74, 8), style(8, true, Align::Right));
    duplikat.suppressed = true;
    e.insert(e.end(), {oryginal, kopia, duplikat, line(0, 27, 186)});
    r.addSection(section(QStringLiteral("Section2"), Section::Kind::PageHeader, 29, std::move(e)));
}

void documentHeader(report::Report& r)
{
    Section kor =
        section(QStringLiteral("SectionDoDokumentu"), Section::Kind::Band, 6,
                {text(QStringLiteral("tytDoDokumentu"), QString(), QRectF(0, 0.5, 186, 4.5), style(9, true))});
    kor.suppressBlank = true;
    r.addSection(kor);
    r.addSection(
        section(QStringLiteral("SectionDaty"), Section::Kind::Band, 6,
                {field(QStringLiteral("Datawyst"), QStringLiteral("Data wystawienia: %1"), QRectF(0, 0.5, 70, 4.5)),
                 field(QStringLiteral("Datasprz"), QStringLiteral("Data nabycia: %1"), QRectF(72, 0.5, 70, 4.5))}));
    Section podstawa = section(
        QStringLiteral("SectionPodstawa"), Section::Kind::Band, 5,
        {field(QStringLiteral("Podstawa"), QStringLiteral("Podstawa wystawienia: %1"), QRectF(0, 0, 92, 4.5), style(8),
               true),
         field(QStringLiteral("Wydane"), QStringLiteral("Przyjęte wg: %1"), QRectF(94, 0, 92, 4.5), style(8), true)});
    podstawa.suppressBlank = true;
    r.addSection(podstawa);

    Element box;
    box.kind = Element::Kind::Box;
    box.rect = QRectF(0, 1, 186, 23);
    box.style.stretch = true;
    r.addSection(
        section(QStringLiteral("SectionSprzedawca"), Section::Kind::Band, 26,
                {box,
                 text(QStringLiteral("labSprzedawca"), QStringLiteral("Sprzedawca (rolnik ryczałtowy)"),
                      QRectF(2, 1.8, 100, 3.5), small()),
                 field(QStringLiteral("Nazkon"), QString(), QRectF(2, 5.5, 182, 5), style(10, true)),
                 field(QStringLiteral("Adrkon"), QString(), QRectF(2, 10.6, 182, 4.2)),
                 field(QStringLiteral("Nipkon"), QStringLiteral("NIP lub PESEL: %1"), QRectF(2, 14.9, 182, 4.2)),
                 field(QStringLiteral("DokumentTozsamosci"), QStringLiteral("Dokument tożsamości: %1"),
                       QRectF(2, 19.2, 182, 4.2))}));
}

void positions(report::Report& r)
{
    std::vector<Element> head;
    for (const Column* c : {&kLp, &kNazwa, &kIlosc, &kJm, &kCena, &kNetto, &kStawka, &kVat, &kBrutto})
        head.push_back(text(QString(), QString::fromUtf8(c->head), at(*c, 2, 7.5), headCell()));
    r.addSection(section(QStringLiteral("SectionNaglowekPozycji"), Section::Kind::TableHeader, 9.5, std::move(head),
                         kTabelaDokumentu));

    Style groupStyle = style(8, true);
    groupStyle.frame = true;
    groupStyle.stretch = true;
    Section group =
        section(QStringLiteral("SectionGrupa"), Section::Kind::GroupHeader, 5,
                {field(QStringLiteral("Grupa"), QString(), QRectF(0, 0, 186, 5), groupStyle)}, kTabelaDokumentu);
    group.groupColumn = QStringLiteral("Grupa");
    r.addSection(group);

    // A position's columns in the order the column table declares them, each in its place; the
    // rate's code prints as its rate.
    const std::pair<const Column*, Style> places[] = {
        {&kLp, cell(Align::Center)}, {&kNazwa, cell(Align::Left)}, {&kIlosc, amountCell()},
        {&kJm, cell(Align::Center)}, {&kCena, amountCell()},       {&kStawka, cell(Align::Center)},
        {&kNetto, amountCell()},     {&kVat, amountCell()},        {&kBrutto, amountCell()}};
    const QStringList& columns = Position::columns();
    Q_ASSERT(columns.size() == qsizetype(std::size(places)));
    std::vector<Element> detail;
    for (size_t i = 0; i < std::size(places) && qsizetype(i) < columns.size(); ++i) {
        const QString& name = columns[qsizetype(i)];
        const auto& [place, s] = places[i];
        detail.push_back(
            field(name == QLatin1String("Indvat") ? QStringLiteral("Stawka") : name, QString(), at(*place, 0, 5), s));
    }
    r.addSection(section(QStringLiteral("Section3"), Section::Kind::Detail, 5, std::move(detail), kTabelaDokumentu));
}

void vatSummary(report::Report& r)
{
    std::vector<Element> head{text(QStringLiteral("labStawki"), QStringLiteral("Zestawienie według stawek VAT"),
                                   QRectF(0, 5, kNetto.x - 2, 4.5), style(8, true, Align::Right))};
    for (const Column* c : {&kNetto, &kStawka, &kVat, &kBrutto})
        head.push_back(text(QString(), QString::fromUtf8(c->head), at(*c, 3, 7.5), headCell()));
    r.addSection(section(QStringLiteral("SectionNaglowekStawek"), Section::Kind::TableHeader, 10.5, std::move(head),
                         kTabelaStawek));

    auto value = [](const QString& column, const Column& c, Style s = amountCell()) {
        Element e = field(column, QString(), at(c, 0, 5), s);
        e.name = QStringLiteral("num") + column;
        e.table = kTabelaStawek;
        return e;
    };
    r.addSection(
        section(QStringLiteral("SectionStawka"), Section::Kind::Detail, 5,
                {value(QStringLiteral("Netto"), kNetto), value(QStringLiteral("Stawka"), kStawka, cell(Align::Center)),
                 value(QStringLiteral("VAT"), kVat), value(QStringLiteral("Brutto"), kBrutto)},
                kTabelaStawek));

    Style total = amountCell();
    total.bold = true;
    r.addSection(section(QStringLiteral("SectionRazem"), Section::Kind::Band, 5,
                         {text(QStringLiteral("labRazem"), QStringLiteral("Razem"),
                               QRectF(kIlosc.x, 0.5, kNetto.x - kIlosc.x - 2, 4.5), style(8, true, Align::Right)),
                          field(QStringLiteral("RazNetto"), QString(), at(kNetto, 0, 5), total),
                          text(QString(), QString(), at(kStawka, 0, 5), total),
                          field(QStringLiteral("RazVAT"), QString(), at(kVat, 0, 5), total),
                          field(QStringLiteral("RazBrutto"), QString(), at(kBrutto, 0, 5), total)}));
}

void amounts(report::Report& r)
{
    Style potracenie = style(8, true, Align::Right), doZaplaty = style(11, true, Align::Right);
    potracenie.oneLine = doZaplaty.oneLine = true;
    r.addSection(
        section(QStringLiteral("SectionPotracenie"), Section::Kind::Band, 7,
                {text(QStringLiteral("txtPotracenie"), QString(), QRectF(0, 2, 140, 4.5)),
                 field(QStringLiteral("Potracenie"), QStringLiteral("%1 zł"), QRectF(142, 2, 44, 4.5), potracenie)}));
    r.addSection(section(
        QStringLiteral("SectionDoZaplaty"), Section::Kind::Band, 13,
        {text(QStringLiteral("labDoZaplaty"), QStringLiteral("Do zapłaty:"), QRectF(0, 2, 60, 6), style(11, true)),
         field(QStringLiteral("DoZaplaty"), QStringLiteral("%1 zł"), QRectF(96, 2, 90, 6), doZaplaty),
         text(QStringLiteral("txtSlownie"), QString(), QRectF(0, 8.3, 186, 4.5))}));
    r.addSection(
        section(QStringLiteral("SectionPlatnosc"), Section::Kind::Band, 6,
                {field(QStringLiteral("PlatFor"), QStringLiteral("Forma płatności: %1"), QRectF(0, 1, 70, 4.5)),
                 field(QStringLiteral("Termin"), QStringLiteral("Termin płatności: %1"), QRectF(72, 1, 114, 4.5),
                       style(8), true)}));
    Section rachunek = section(QStringLiteral("SectionRachunek"), Section::Kind::Band, 5,
                               {field(QStringLiteral("PlatRach"), QStringLiteral("Nr rachunku bankowego: %1"),
                                      QRectF(0, 0, 186, 4.5), style(8), true)});
    rachunek.suppressBlank = true;
    r.addSection(rachunek);
    Section uwagi =
        section(QStringLiteral("SectionUwagi"), Section::Kind::Band, 6,
                {field(QStringLiteral("Uwagi"), QStringLiteral("Uwagi: %1"), QRectF(0, 1, 186, 4.5), style(8), true)});
    uwagi.suppressBlank = true;
    r.addSection(uwagi);
}

void statementsAndSignatures(report::Report& r)
{
    Style italic = style(7.5);
    italic.italic = true;
    r.addSection(section(QStringLiteral("SectionOswiadczenie"), Section::Kind::Band, 11,
                         {text(QStringLiteral("txtOswRolnika"), kStatementOfFarmer, QRectF(0, 3, 186, 7), italic)}));
    Style caption = style(7, false, Align::Center);
    Style centre = style(8, false, Align::Center);
    Element wystawil = field(QStringLiteral("Wystawil"), QString(), QRectF(0, 10, 88, 4.5), centre);
    wystawil.name = QStringLiteral("txtWystawil");
    r.addSection(
        section(QStringLiteral("SectionPodpisy"), Section::Kind::Band, 24,
                {wystawil, line(0, 15.5, 88),
                 text(QStringLiteral("opisWystawil"),
                      QStringLiteral("Podpis nabywcy - osoby uprawnionej do wystawienia faktury"), QRectF(0, 16, 88, 7),
                      caption),
                 line(98, 15.5, 88), text(QStringLiteral("opisOtrzymal"), QString(), QRectF(98, 16, 88, 7), caption)}));
    r.addSection(section(
        QStringLiteral("Section18"), Section::Kind::Band, 32,
        {text(QStringLiteral("txtOswNabywcy"), QString(), QRectF(0, 3, 186, 12), italic), line(98, 24, 88),
         text(QStringLiteral("opisNabywca"), QStringLiteral("Podpis nabywcy"), QRectF(98, 24.5, 88, 4), caption)}));
}

void pageFooter(report::Report& r)
{
    Element page;
    page.kind = Element::Kind::PageNumber;
    page.name = QStringLiteral("rapStrona");
    page.text = QStringLiteral("Strona %1 z %2");
    page.rect = QRectF(146, 1, 40, 3.5);
    page.style = style(7, false, Align::Right);
    r.addSection(
        section(QStringLiteral("SectionStopka"), Section::Kind::PageFooter, 9,
                {line(0, 0.5, 186), text(QStringLiteral("uwaStopka"), QString(), QRectF(0, 1, 144, 3.5), style(7)),
                 text(QStringLiteral("rapPakiet"), QString(), QRectF(0, 5, 144, 3.2), small()), page}));
}

// An amount as its fields show it; empty when there is none.
QString amountText(const OptDecimal& v)
{
    return v ? reportAmountText(*v) : QString();
}

// A stored value as its field shows it: dates and amounts in their printed forms, a position's
// quantity and unit price with places of their own; empty when there is none.
QString printedValue(const QString& column, StoredKind kind, const db::Value& v)
{
    if (kind == StoredKind::Date) return dateText(v.toDate());
    if (kind != StoredKind::Amount) return v.toText();
    const OptDecimal d = v.toOptDecimal();
    if (d && column == QLatin1String("Ilosc")) return quantityText(*d);
    if (d && column == QLatin1String("Cenanet")) return priceText(*d);
    return amountText(d);
}

// The payment term, with the days after it when there are any: "20.05.2024 (14 dni)".
QString paymentTermText(const DocHeader& h)
{
    const int dni = h.PlatDni.value_or(0);
    if (dni <= 0) return h.PlatTer;
    return h.PlatTer + (h.PlatTer.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("(%1 dni)").arg(dni);
}

}  // namespace

std::shared_ptr<report::Report> invoiceTemplate()
{
    auto r = std::make_shared<report::Report>();
    pageHeader(*r);
    documentHeader(*r);
    positions(*r);
    vatSummary(*r);
    amounts(*r);
    statementsAndSignatures(*r);
    pageFooter(*r);
    return r;
}

void fillReportData(report::Report& report, const std::vector<db::Row>& rows)
{
    report::Table t;
    bool deduction = false;
    for (const db::Row& r : rows) {
        const DocHeader h = DocHeader::fromRow(r);
        const bool corrected = h.isCorrection() && r.boolean(QStringLiteral("Korekta"));
        // The corrected positions are stored negated; they print as they were typed.
        const Position p = corrected ? Position::fromRow(r).negated() : Position::fromRow(r);
        QStringList cells;
        // The stored columns of the header and of the position, by the names their tables give.
        auto stored = [&](const QStringList& names, const std::vector<StoredKind>& kinds,
                          const std::vector<db::Value>& values) {
            for (qsizetype i = 0; i < names.size(); ++i) {
                if (t.rows.empty()) t.columns << names[i];
                cells << printedValue(names[i], kinds[size_t(i)], values[size_t(i)]);
            }
        };
        stored(DocHeader::columns(), DocHeader::columnKinds(), h.values());
        stored(Position::columns(), Position::columnKinds(), p.values());
        // The fields printed from more than one column.
        const std::pair<const char*, QString> computed[] = {
            {"DokumentTozsamosci", identityDocumentText(h.Nazdok, h.Numdok, dateText(h.Datadok), h.Wyddok)},
            {"Grupa", h.isCorrection()
                          ? (corrected ? QStringLiteral("Było przed korektą") : QStringLiteral("Winno być po korekcie"))
                          : QString()},
            {"Stawka", vatRateText(p.Indvat)},
            {"Termin", paymentTermText(h)},
        };
        for (const auto& [name, text] : computed) {
            if (t.rows.empty()) t.columns << QString::fromLatin1(name);
            cells << text;
        }
        deduction = deduction || !h.Potracenie.value_or(Decimal()).isZero();
        t.rows.push_back(std::move(cells));
    }
    report.setTable(kTabelaDokumentu, std::move(t));
    report.setSuppressed(QStringLiteral("SectionPotracenie"), !deduction);
}
