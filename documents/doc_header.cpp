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
        Columns::count("Stanowisko", &H::Stanowisko),
        Columns::text("Inddok", &H::Inddok),
        Columns::text("Numer", &H::Numer),
        Columns::date("Datawyst", &H::Datawyst),
        Columns::date("Datasprz", &H::Datasprz),
        Columns::text("KorInddok", &H::KorInddok),
        Columns::text("KorNumer", &H::KorNumer),
        Columns::date("KorDatawyst", &H::KorDatawyst),
        Columns::text("Podstawa", &H::Podstawa),
        Columns::text("Wydane", &H::Wydane),
        Columns::text("Nazkon", &H::Nazkon),
        Columns::text("Adrkon", &H::Adrkon),
        Columns::text("Nipkon", &H::Nipkon),
        Columns::text("Nazdok", &H::Nazdok),
        Columns::text("Numdok", &H::Numdok),
        Columns::text("Wyddok", &H::Wyddok),
        Columns::date("Datadok", &H::Datadok),
        Columns::amount("RazNetto", &H::RazNetto),
        Columns::amount("RazVAT", &H::RazVAT),
        Columns::amount("RazBrutto", &H::RazBrutto),
        Columns::amount("Potracenie", &H::Potracenie),
        Columns::amount("DoZaplaty", &H::DoZaplaty),
        Columns::text("PlatFor", &H::PlatFor),
        Columns::count("PlatDni", &H::PlatDni),
        Columns::text("PlatTer", &H::PlatTer),
        Columns::text("PlatRach", &H::PlatRach),
        Columns::text("Wystawil", &H::Wystawil),
        Columns::text("Uwagi", &H::Uwagi),
        Columns::text("Fundusz", &H::Fundusz),
        Columns::amount("Zaplacono", &H::Zaplacono),
    };
    return t;
}

}  // namespace

const QStringList& DocHeader::columns()
{
    return table().names();
}

const std::vector<StoredKind>& DocHeader::columnKinds()
{
    return table().kinds();
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
