#pragma once
#include "platform/db_value.h"
#include <QString>
#include <utility>
#include <vector>

namespace db {
class Database;
}

// The items of a choice list whose row source is a query: the first column is the key, the
// second the text shown; a query of one column gives both. NULL reads as "". `params` are bound
// to the query's ? in turn. Throws AppError.
std::vector<std::pair<QString, QString>> comboRowsFromSql(db::Database& db, const QString& sql,
                                                          const std::vector<db::Value>& params = {});
