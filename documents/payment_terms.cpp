#include "documents/payment_terms.h"
#include "platform/date_text.h"

std::optional<QString> paymentTermFromDays(const QDate& issue, int days, const QString& term)
{
    if (!issue.isValid()) return std::nullopt;
    if (!term.isEmpty() && !textDate(term).isValid() && term != QLatin1String("[data]")) return std::nullopt;
    return dateText(issue.addDays(days));
}

std::optional<int> daysToPaymentTerm(const QDate& issue, const QString& term)
{
    const QDate date = textDate(term);
    if (!issue.isValid() || !date.isValid()) return std::nullopt;
    return int(issue.daysTo(date));
}
