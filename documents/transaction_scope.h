#pragma once
#include "platform/database.h"
#include <optional>

// A transaction that joins the caller's transaction when one is already open, so that a
// procedure can be atomic on its own and still be part of a larger change.
class TransactionScope final {
public:
    explicit TransactionScope(db::Database& db)
    {
        if (!db.inTransaction()) tr_.emplace(db);
    }
    void commit()
    {
        if (tr_) tr_->commit();
    }

private:
    std::optional<db::Transaction> tr_;
};
