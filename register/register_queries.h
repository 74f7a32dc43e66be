#pragma once
#include "documents/newest_first_cursor.h"
#include "platform/database.h"
#include "platform/decimal.h"
#include <QString>
#include <array>
#include <optional>
#include <utility>
#include <vector>

class App;

// The statements of the register, its sums row and the chart over the stored documents (fadok).
// The register's list and its sums read the same filter; every value is bound.

// What the register's filter frame holds; an empty field filters nothing.
struct RegisterFilter {
    QString dokument;           // the kind chosen: "FR" or "KFR"
    QString nazwa;              // part of the contractor's name, in any case
    bool niezaplacone = false;  // only documents not paid in full
    QString platfor;            // the payment form chosen, as listed
    QString miesiac;            // the month chosen, "yyyyMM"

    bool operator==(const RegisterFilter&) const = default;
};

// The filter's conditions, each beginning with " AND ", and their values in order.
struct SqlCondition {
    QString sql;
    std::vector<db::Value> params;
};
SqlCondition registerCondition(const RegisterFilter& f);

// The listed documents in the register's order, read a part at a time: each row holds the
// register's 21 columns, then the document's rowid.
NewestFirstCursor registerCursor(App& app, const RegisterFilter& f);
// One listed row read again after it was written; nullopt when the document is gone.
std::optional<db::Row> registerRow(db::Database& db, qint64 rowid);

// The sums row: one value per register column, "Razem" under the number and the sums of the six
// amounts of the listed documents under theirs (NULL when nothing is listed), NULL elsewhere.
std::vector<db::Value> registerSums(db::Database& db, const RegisterFilter& f);

// Marks a document paid (its amount to pay becomes the paid amount) or unpaid (NULL).
// Throws AppError 3021 when the document is gone.
void markPaid(db::Database& db, qint64 rowid, bool paid);
// Stores a typed paid amount; nullopt marks the document unpaid. Throws AppError 3021 when gone.
void storePaidAmount(db::Database& db, qint64 rowid, const OptDecimal& amount);

// The items of the filter and chart lists: key and text.
using ListItems = std::vector<std::pair<QString, QString>>;
// The payment forms of stored documents in alphabetical order, forms that differ only in case
// given once.
ListItems paymentForms(db::Database& db);
// The months of the issue dates, newest first: key "yyyyMM", text "MM.yyyy".
ListItems issueMonths(db::Database& db);
// The years of the issue dates, newest first.
ListItems issueYears(db::Database& db);

// What the chart sums per month: all stored documents of the month, invoices and corrections.
struct MonthSums {
    Decimal netto, vat, brutto, zaplacono, doZaplaty;
};
// The twelve months of a year (index 0 is January), 0 where a month has nothing.
std::array<MonthSums, 12> monthSums(db::Database& db, int year);
