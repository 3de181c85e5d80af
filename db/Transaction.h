#pragma once
// One transaction level on a connection for the span of a scope: committed by Commit, rolled back by
// Rollback or, when neither ran (an error left the scope), by the destructor. Inside a caller's
// transaction the level is a savepoint, so rolling it back undoes only what the scope wrote (unless it is
// opened with LevelUndo::WithTransaction: Connection.h).
#include "db/Connection.h"

namespace db {

class Transaction {
public:
    explicit Transaction(Connection& connection, LevelUndo undo = LevelUndo::Own)
        : connection_(connection), level_(connection.BeginTrans(undo)) {}
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Error when the level is not the innermost one any more (work inside it closed it, or left a level of
    // its own open): committing then would commit something else.
    void Commit();
    // Undoes the level together with any level opened inside it and left open; nothing when work inside
    // already rolled it back.
    void Rollback();

private:
    Connection& connection_;
    long level_;
    bool closed_ = false;
};

}  // namespace db
