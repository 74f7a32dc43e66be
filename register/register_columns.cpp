#include "register/register_columns.h"
#include "documents/document_order.h"
#include "platform/date_text.h"
#include <QLocale>

const std::vector<RegisterColumn>& registerColumns()
{
    using K = ColumnKind;
    using F = NumberFormat;
    static const std::vector<RegisterColumn> columns = {
        {QStringLiteral("Inddok"), QStringLiteral("Dokument"), K::Text, F::None},
        {QStringLiteral("Numer"), QStringLiteral("Numer"), K::Text, F::None},
        {QStringLiteral("Datawyst"), QStringLiteral("Data wyst."), K::Date, F::ShortDate},
        {QStringLiteral("Datasprz"), QStringLiteral("Data nab."), K::Date, F::ShortDate},
        {QStringLiteral("Podstawa"), QStringLiteral("Podstawa"), K::Text, F::None},
        {QStringLiteral("Wydane"), QStringLiteral("Wydane wg"), K::Text, F::None},
        {QStringLiteral("Nazkon"), QStringLiteral("Nazwa kontrahenta (Rolnik ryczałtowy)"), K::Text, F::None},
        {QStringLiteral("AdrKon"), QStringLiteral("Adres kontrahenta"), K::Text, F::None},
        {QStringLiteral("Nipkon"), QStringLiteral("NIP"), K::Text, F::None},
        {QStringLiteral("RazNetto"), QStringLiteral("Razem netto"), K::Amount, F::Money},
        {QStringLiteral("RazVAT"), QStringLiteral("Kwota VAT"), K::Amount, F::Money},
        {QStringLiteral("RazBrutto"), QStringLiteral("Razem brutto"), K::Amount, F::Money},
        {QStringLiteral("Potracenie"), QStringLiteral("Potrącenie"), K::Amount, F::Money},
        // The amount to pay has no number format of its own: it shows in the general form.
        {QStringLiteral("DoZaplaty"), QStringLiteral("Do zaplaty"), K::Amount, F::None},
        {QStringLiteral("Zaplacono"), QStringLiteral("Zapłacono"), K::Amount, F::Money},
        {QStringLiteral("Platfor"), QStringLiteral("Forma płatności"), K::Text, F::None},
        {QStringLiteral("PlatDni"), QStringLiteral("Dni"), K::Integer, F::None},
        {QStringLiteral("Platter"), QStringLiteral("Określenie terminu"), K::Text, F::None},
        {QStringLiteral("Wystawil"), QStringLiteral("Wystawił"), K::Text, F::None},
        {QStringLiteral("Uwagi"), QStringLiteral("Uwagi"), K::Text, F::None},
        {QStringLiteral("Fundusz"), QStringLiteral("Fundusz"), K::Text, F::None},
    };
    return columns;
}

int registerColumn(const QString& name)
{
    const auto& c = registerColumns();
    for (size_t i = 0; i < c.size(); ++i)
        if (c[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

QStringList registerCaptions()
{
    QStringList captions;
    for (const RegisterColumn& c : registerColumns()) captions << c.caption;
    return captions;
}

QString generalText(ColumnKind kind, const db::Value& value, const QLocale& locale)
{
    if (value.isNull()) return QString();
    switch (kind) {
    case ColumnKind::Amount: return value.toDecimal().toString().replace('.', locale.decimalPoint());
    case ColumnKind::Date: {
        const QDate d = storedDate(value);
        return d.isValid() ? locale.toString(d, QLocale::ShortFormat) : value.toText();
    }
    case ColumnKind::Integer:
    case ColumnKind::Text: break;
    }
    return value.toText();
}

QString cellText(const RegisterColumn& column, const db::Value& value)
{
    if (value.isNull()) return QString();
    switch (column.format) {
    case NumberFormat::Money: return value.toDecimal().toDisplay(2);
    case NumberFormat::ShortDate: {
        const QDate d = storedDate(value);
        return d.isValid() ? dateText(d) : value.toText();
    }
    case NumberFormat::None: break;
    }
    return generalText(column.kind, value);
}

QByteArray copyText(qint64 count, const std::function<const db::Row&(qint64)>& row)
{
    const auto& columns = registerColumns();
    const QLocale locale;
    QByteArray text;
    for (const RegisterColumn& c : columns) text += c.caption.toUtf8() + '\t';
    text += "\r\n";
    for (qint64 k = 0; k < count; ++k) {
        const db::Row& r = row(k);
        for (size_t i = 0; i < columns.size(); ++i) {
            if (int(i) < r.size()) text += generalText(columns[i].kind, r.at(int(i)), locale).toUtf8();
            text += '\t';
        }
        text += "\r\n";
    }
    return text;
}
