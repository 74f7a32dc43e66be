#include "documents/document_list.h"
#include "core/app.h"
#include "documents/document_order.h"
#include "platform/database.h"
#include <algorithm>

std::vector<DocumentListRow> ListaDokumentow(App& app)
{
    std::vector<DocumentListRow> rows;
    if (!app.gBazaOtwarta || !app.gBaseDb) return rows;
    // The order is worked out here on keys taken once per row: the engine would call its date
    // and number functions again for every comparison. Rows are read in stored order so that
    // rows with equal keys keep it, as the engine's sort does.
    const size_t count = size_t(app.gBaseDb->scalar(QStringLiteral("SELECT count(*) FROM fadok")).toInt());
    rows.reserve(count);
    std::vector<DocumentOrderKey> keys;
    keys.reserve(count);
    db::Statement st(*app.gBaseDb,
                     QStringLiteral("SELECT Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, RazNetto, RazVAT, "
                                    "RazBrutto, Wystawil FROM fadok ORDER BY rowid"));
    while (st.step()) {
        DocumentListRow d;
        d.Inddok = st.value(0).toText();
        const db::Value numer = st.value(1);
        d.Numer = numer.toText();
        d.Datawyst = storedDate(st.value(2));
        d.Datasprz = storedDate(st.value(3));
        d.Nazkon = st.value(4).toText();
        d.Adrkon = st.value(5).toText();
        d.Nipkon = st.value(6).toText();
        d.RazNetto = st.value(7).toOptDecimal();
        d.RazVAT = st.value(8).toOptDecimal();
        d.RazBrutto = st.value(9).toOptDecimal();
        d.Wystawil = st.value(10).toText();
        keys.push_back(DocumentOrderKey::of(d.Datawyst, numer));
        rows.push_back(std::move(d));
    }
    std::vector<int> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return listedBefore(keys[size_t(a)], keys[size_t(b)]); });
    // Rows moved into their places in the list itself: a second list of a hundred thousand rows
    // would cost more than the moves.
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] < 0) continue;
        DocumentListRow first = std::move(rows[i]);
        size_t to = i;
        for (size_t from = size_t(order[i]); from != i; from = size_t(order[to])) {
            rows[to] = std::move(rows[from]);
            order[to] = -1;
            to = from;
        }
        rows[to] = std::move(first);
        order[to] = -1;
    }
    return rows;
}
