#pragma once
#include <QDate>
#include <QString>
#include <optional>

// The payment days and the payment term keep each other in step on the document header; the
// form applies these as the clerk types, and a load computes with them the header the form will
// show, so that what is buffered and what is shown agree.

// The term that the days give: the issue date plus the days, as a date text, when the term is
// empty, a date or the "[data]" item; nullopt (the term stays) for any other text or without an
// issue date.
std::optional<QString> paymentTermFromDays(const QDate& issue, int days, const QString& term);

// The days that a term holding a date gives, counted from the issue date (0 or negative too);
// nullopt when the term is no date or there is no issue date.
std::optional<int> daysToPaymentTerm(const QDate& issue, const QString& term);
