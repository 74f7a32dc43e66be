#include "documents/document_list.h"
#include "core/app.h"
#include "platform/database.h"

std::vector<DocumentListRow> ListaDokumentow(App& app)
{
    std::vector<DocumentListRow> rows;
    if (!app.gBazaOtwarta || !app.gBaseDb) return rows;
    app.gBaseDb->forEach(
        QStringLiteral("SELECT Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, RazNetto, RazVAT, RazBrutto, "
                       "Wystawil FROM fadok ORDER BY Year(Datawyst) DESC, Month(Datawyst) DESC, Val(Numer) DESC"),
        {}, [&](const db::Row& r) {
            DocumentListRow d;
            d.Inddok = r.text("Inddok");
            d.Numer = r.text("Numer");
            d.Datawyst = r.date("Datawyst");
            d.Datasprz = r.date("Datasprz");
            d.Nazkon = r.text("Nazkon");
            d.Adrkon = r.text("Adrkon");
            d.Nipkon = r.text("Nipkon");
            d.RazNetto = r.optDecimal("RazNetto");
            d.RazVAT = r.optDecimal("RazVAT");
            d.RazBrutto = r.optDecimal("RazBrutto");
            d.Wystawil = r.text("Wystawil");
            rows.push_back(std::move(d));
        });
    return rows;
}
