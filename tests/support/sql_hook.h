#pragma once
#include "platform/database.h"
#include "platform/decimal.h"
#include "platform/sql_functions.h"
#include <functional>
#include <sqlcipher/sqlite3.h>

// Puts a test's own step into the engine's Val function on one connection, so that a test can
// act at the exact moment a statement runs (the number taken inside a save reads Val): `step`
// runs at each call and returns false to make the statement fail there. The connection's own
// functions come back when the hook ends.
class ValHook {
public:
    ValHook(db::Database& db, std::function<bool()> step) : db_(db), step_(std::move(step))
    {
        sqlite3_create_function(db_.handle(), "Val", 1, SQLITE_UTF8, this, &ValHook::call, nullptr, nullptr);
    }
    ~ValHook() { db::registerSqlFunctions(db_.handle()); }
    ValHook(const ValHook&) = delete;
    ValHook& operator=(const ValHook&) = delete;

private:
    static void call(sqlite3_context* ctx, int, sqlite3_value** argv)
    {
        auto* self = static_cast<ValHook*>(sqlite3_user_data(ctx));
        if (!self->step_()) {
            sqlite3_result_error(ctx, "injected failure", -1);
            return;
        }
        const unsigned char* t = sqlite3_value_text(argv[0]);
        QString text = t ? QString::fromUtf8(reinterpret_cast<const char*>(t)) : QString();
        sqlite3_result_double(ctx, leadingDecimalText(text).toDouble());
    }

    db::Database& db_;
    std::function<bool()> step_;
};
