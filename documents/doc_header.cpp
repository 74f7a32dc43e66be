#include "documents/doc_header.h"

const QStringList& DocHeader::columns()
{
    static const QStringList c = {"Stanowisko", "Inddok",      "Numer",      "Datawyst",  "Datasprz", "KorInddok",
                                  "KorNumer",   "KorDatawyst", "Podstawa",   "Wydane",    "Nazkon",   "Adrkon",
                                  "Nipkon",     "Nazdok",      "Numdok",     "Wyddok",    "Datadok",  "RazNetto",
                                  "RazVAT",     "RazBrutto",   "Potracenie", "DoZaplaty", "PlatFor",  "PlatDni",
                                  "PlatTer",    "PlatRach",    "Wystawil",   "Uwagi",     "Fundusz",  "Zaplacono"};
    return c;
}

QString DocHeader::insertStatement(const QString& table)
{
    return db::insertStatement(table, columns());
}

std::vector<db::Value> DocHeader::values() const
{
    return {Stanowisko, Inddok,      Numer,      Datawyst,  Datasprz, KorInddok,
            KorNumer,   KorDatawyst, Podstawa,   Wydane,    Nazkon,   Adrkon,
            Nipkon,     Nazdok,      Numdok,     Wyddok,    Datadok,  RazNetto,
            RazVAT,     RazBrutto,   Potracenie, DoZaplaty, PlatFor,  PlatDni ? db::Value(*PlatDni) : db::Value(),
            PlatTer,    PlatRach,    Wystawil,   Uwagi,     Fundusz,  Zaplacono};
}

DocHeader DocHeader::fromRow(const db::Row& r)
{
    DocHeader h;
    auto text = [&](const char* c) { return r.has(c) ? r.text(c) : QString(); };
    auto date = [&](const char* c) { return r.has(c) ? r.date(c) : QDate(); };
    auto money = [&](const char* c) { return r.has(c) ? r.optDecimal(c) : OptDecimal(); };
    h.Stanowisko = r.has("Stanowisko") ? int(r.integer("Stanowisko")) : 0;
    h.Inddok = text("Inddok");
    h.Numer = text("Numer");
    h.Datawyst = date("Datawyst");
    h.Datasprz = date("Datasprz");
    h.KorInddok = text("KorInddok");
    h.KorNumer = text("KorNumer");
    h.KorDatawyst = date("KorDatawyst");
    h.Podstawa = text("Podstawa");
    h.Wydane = text("Wydane");
    h.Nazkon = text("Nazkon");
    h.Adrkon = text("Adrkon");
    h.Nipkon = text("Nipkon");
    h.Nazdok = text("Nazdok");
    h.Numdok = text("Numdok");
    h.Wyddok = text("Wyddok");
    h.Datadok = date("Datadok");
    h.RazNetto = money("RazNetto");
    h.RazVAT = money("RazVAT");
    h.RazBrutto = money("RazBrutto");
    h.Potracenie = money("Potracenie");
    h.DoZaplaty = money("DoZaplaty");
    h.PlatFor = text("PlatFor");
    if (r.has("PlatDni") && !r.isNull("PlatDni")) h.PlatDni = int(r.integer("PlatDni"));
    h.PlatTer = text("PlatTer");
    h.PlatRach = text("PlatRach");
    h.Wystawil = text("Wystawil");
    h.Uwagi = text("Uwagi");
    h.Fundusz = text("Fundusz");
    h.Zaplacono = money("Zaplacono");
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
