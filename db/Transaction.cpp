#include "db/Transaction.h"

namespace db {

Transaction::~Transaction() {
    if (closed_) return;
    try {
        Rollback();
    } catch (...) {
        // Reached while an error leaves the scope: that error is the one to report. A rollback that fails
        // too leaves the outer transaction, if any, to be rolled back as a whole.
    }
}

void Transaction::Commit() {
    if (connection_.TransactionLevel() != level_)
        throw Error(errc::ProviderError,
                        "Livello di transazione " + std::to_string(connection_.TransactionLevel()) +
                            " invece di " + std::to_string(level_) + ": nessuna conferma eseguita.",
                        "Transaction");
    connection_.CommitTrans();
    closed_ = true;
}

void Transaction::Rollback() {
    closed_ = true;
    while (connection_.TransactionLevel() >= level_) connection_.RollbackTrans();
}

}  // namespace db
