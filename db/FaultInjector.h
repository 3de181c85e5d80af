#pragma once
// Test hook of a connection: makes a chosen statement fail, so tests can prove that a failure at any
// step leaves nothing behind. Transaction control (BEGIN, COMMIT, ROLLBACK, savepoints) is not counted; an
// undo of a transaction level can be made to fail on its own (FailNextUndo).
#include <optional>
#include <string>

#include "db/Error.h"

namespace db {

class FaultInjector {
public:
    // Fail the n-th statement from now (1-based) with the given error.
    void FailNth(long n, Error error = DefaultError());
    // Fail the first statement whose text contains `fragment` (case-insensitive).
    void FailMatching(std::string fragment, Error error = DefaultError());
    // Fail the next undo of a transaction level (a rollback, or a rollback to a savepoint) with the given
    // error: the connection's levels must stay in step with a database that could not undo.
    void FailNextUndo(Error error = DefaultError());
    void Clear();

    // Statements run since the last ResetCount (or since the connection opened).
    long StatementCount() const { return count_; }
    void ResetCount() { count_ = 0; }

    // Called by the driver before each statement: counts it and throws when it is the chosen one.
    // Each armed fault fires once. Statements that only control transactions pass uncounted.
    void BeforeStatement(const std::string& sql);

    // Called by the connection before it asks the database to undo a level; throws when a failure is armed.
    void BeforeUndo();

    static Error DefaultError() { return Error(errc::InjectedFault, "Injected fault", "FaultInjector"); }

private:
    long count_ = 0;
    long failAt_ = 0;  // absolute count at which to fail; 0 = none
    std::optional<Error> nthError_;
    std::optional<std::string> fragment_;  // upper-cased
    std::optional<Error> fragmentError_;
    std::optional<Error> undoError_;
};

}  // namespace db
