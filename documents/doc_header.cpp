#include "documents/doc_header.h"
#include "documents/payment_terms.h"
#include "documents/record_columns.h"

namespace {

using Columns = RecordColumns<DocHeader>;

// dodok and fadok, column by column in table order.
const Columns& table()
{
    using H = DocHeader;
    static const Columns t = {
        Columns::column("Stanowisko", &H::Stanowisko), Columns::column("Inddok", &H::Inddok),
        Columns::column("Numer", &H::Numer),           Columns::column("Datawyst", &H::Datawyst),
        Columns::column("Datasprz", &H::Datasprz),     Columns::column("KorInddok", &H::KorInddok),
        Columns::column("KorNumer", &H::KorNumer),     Columns::column("KorDatawyst", &H::KorDatawyst),
        Columns::column("Podstawa", &H::Podstawa),     Columns::column("Wydane", &H::Wydane),
        Columns::column("Nazkon", &H::Nazkon),         Columns::column("Adrkon", &H::Adrkon),
        Columns::column("Nipkon", &H::Nipkon),         Columns::column("Nazdok", &H::Nazdok),
        Columns::column("Numdok", &H::Numdok),         Columns::column("Wyddok", &H::Wyddok),
        Columns::column("Datadok", &H::Datadok),       Columns::column("RazNetto", &H::RazNetto),
        Columns::column("RazVAT", &H::RazVAT),         Columns::column("RazBrutto", &H::RazBrutto),
        Columns::column("Potracenie", &H::Potracenie), Columns::column("DoZaplaty", &H::DoZaplaty),
        Columns::column("PlatFor", &H::PlatFor),       Columns::column("PlatDni", &H::PlatDni),
        Columns::column("PlatTer", &H::PlatTer),       Columns::column("PlatRach", &H::PlatRach),
        Columns::column("Wystawil", &H::Wystawil),     Columns::column("Uwagi", &H::Uwagi),
        Columns::column("Fundusz", &H::Fundusz),       Columns::column("Zaplacono", &H::Zaplacono),
    };
    return t;
}

}  // namespace

const QStringList& DocHeader::columns()
{
    return table().names();
}

QString DocHeader::insertStatement(const QString& table)
{
    return ::table().insertStatement(table);
}

std::vector<db::Value> DocHeader::values() const
{
    return table().values(*this);
}

DocHeader DocHeader::fromRow(const db::Row& r)
{
    DocHeader h;
    table().read(r, h);
    return h;
}

std::optional<DocHeader> DocHeader::stored(db::Database& db, const QString& numer)
{
    auto row = db.queryOne(QStringLiteral("SELECT * FROM fadok WHERE Numer = ?"), {numer});
    return row ? std::optional(fromRow(*row)) : std::nullopt;
}

std::optional<DocHeader> DocHeader::buffered(db::Database& db, int stanowisko)
{
    auto row = db.queryOne(QStringLiteral("SELECT * FROM dodok WHERE Stanowisko = ?"), {stanowisko});
    return row ? std::optional(fromRow(*row)) : std::nullopt;
}

void DocHeader::setTotals(const Totals& t)
{
    RazNetto = t.RazNetto;
    RazVAT = t.RazVAT;
    RazBrutto = t.RazBrutto;
    Potracenie = t.Potracenie;
    DoZaplaty = t.DoZaplaty;
}

DocHeader DocHeader::with(const DocHeader& from, Parts parts) const
{
    DocHeader h = *this;
    if (parts & KindPart) {
        h.Inddok = from.Inddok;
        h.KorInddok = from.isCorrection() ? from.KorInddok : QString();
        h.KorNumer = from.isCorrection() ? from.KorNumer : QString();
        h.KorDatawyst = from.KorDatawyst;
    }
    if (parts & NumberPart) h.Numer = from.Numer;
    if (parts & DatesPart) {
        h.Datawyst = from.Datawyst;
        h.Datasprz = from.Datasprz;
    }
    if (parts & TextsPart) {
        for (auto field :
             {&DocHeader::Podstawa, &DocHeader::Wydane, &DocHeader::Nazkon, &DocHeader::Adrkon, &DocHeader::Nipkon,
              &DocHeader::Nazdok, &DocHeader::Numdok, &DocHeader::Wyddok, &DocHeader::PlatFor, &DocHeader::PlatTer,
              &DocHeader::PlatRach, &DocHeader::Uwagi, &DocHeader::Fundusz})
            h.*field = from.*field;
        h.Datadok = from.Datadok;
        h.PlatDni = from.PlatDni;
        if (auto days = daysToPaymentTerm(h.Datawyst, h.PlatTer)) h.PlatDni = *days;
    } else if (parts & DatesPart) {
        if (auto term = paymentTermFromDays(h.Datawyst, h.PlatDni.value_or(0), h.PlatTer)) h.PlatTer = *term;
    }
    if (parts & TotalsPart) {
        h.RazNetto = from.RazNetto;
        h.RazVAT = from.RazVAT;
        h.RazBrutto = from.RazBrutto;
        h.Potracenie = from.Potracenie;
        h.DoZaplaty = from.DoZaplaty;
    }
    if (parts & IssuerPart) h.Wystawil = from.Wystawil;
    return h;
}
