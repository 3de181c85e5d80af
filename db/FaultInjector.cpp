#include "db/FaultInjector.h"

#include <cctype>
#include <utility>

namespace db {
namespace {

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// BEGIN, COMMIT, ROLLBACK, SAVEPOINT, RELEASE, END: a fault there would test the database, not the caller.
bool IsTransactionControl(std::string_view sql) {
    std::size_t i = 0;
    while (i < sql.size() && (std::isspace(static_cast<unsigned char>(sql[i])) || sql[i] == ';')) ++i;
    std::size_t j = i;
    while (j < sql.size() && std::isalpha(static_cast<unsigned char>(sql[j]))) ++j;
    const std::string_view word = sql.substr(i, j - i);
    // Asked before every statement: compared in place, without a copy.
    auto is = [&](std::string_view name) {
        if (word.size() != name.size()) return false;
        for (std::size_t k = 0; k < name.size(); ++k)
            if (std::toupper(static_cast<unsigned char>(word[k])) != name[k]) return false;
        return true;
    };
    return is("BEGIN") || is("COMMIT") || is("ROLLBACK") || is("SAVEPOINT") || is("RELEASE") || is("END");
}

}  // namespace

void FaultInjector::FailNth(long n, Error error) {
    failAt_ = n > 0 ? count_ + n : 0;
    nthError_ = n > 0 ? std::optional<Error>(std::move(error)) : std::nullopt;
}

void FaultInjector::FailMatching(std::string fragment, Error error) {
    fragment_ = Upper(fragment);
    fragmentError_ = std::move(error);
}

void FaultInjector::FailNextUndo(Error error) { undoError_ = std::move(error); }

void FaultInjector::Clear() {
    failAt_ = 0;
    nthError_.reset();
    fragment_.reset();
    fragmentError_.reset();
    undoError_.reset();
}

void FaultInjector::BeforeUndo() {
    if (!undoError_) return;
    Error e = *undoError_;
    undoError_.reset();
    throw e;
}

void FaultInjector::BeforeStatement(const std::string& sql) {
    if (IsTransactionControl(sql)) return;
    ++count_;
    if (failAt_ != 0 && count_ == failAt_) {
        Error e = *nthError_;
        failAt_ = 0;
        nthError_.reset();
        throw e;
    }
    if (fragment_ && Upper(sql).find(*fragment_) != std::string::npos) {
        Error e = *fragmentError_;
        fragment_.reset();
        fragmentError_.reset();
        throw e;
    }
}

}  // namespace db
