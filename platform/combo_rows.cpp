#include "platform/combo_rows.h"
#include "platform/database.h"

std::vector<std::pair<QString, QString>> comboRowsFromSql(db::Database& db, const QString& sql,
                                                          const std::vector<db::Value>& params)
{
    std::vector<std::pair<QString, QString>> items;
    db.forEach(sql, params, [&](const db::Row& row) {
        QString key = row.size() > 0 ? row.at(0).toText() : QString();
        items.emplace_back(key, row.size() > 1 ? row.at(1).toText() : key);
    });
    return items;
}
