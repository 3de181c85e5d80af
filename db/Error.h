#pragma once
// The one error type of the component: VB's Err object as an exception.
#include <exception>
#include <string>

namespace db {

// Error numbers the component raises itself (VB run-time numbers where VB has one).
namespace errc {
constexpr long Overflow = 6;
constexpr long TypeMismatch = 13;
constexpr long InvalidUseOfNull = 94;
constexpr long InvalidProcedureCall = 5;
constexpr long ObjectRequired = 424;
constexpr long KeyNotFound = 5;           // collection item missing (VB raises 5 for Item)
constexpr long ProviderError = -2147467259;  // 0x80004005: generic data provider failure
constexpr long EofOrBof = 3021;           // "Either BOF or EOF is True..."
constexpr long ItemNotFound = 3265;       // field or parameter name not in the collection
constexpr long InvalidArgument = 3001;
constexpr long OperationNotAllowed = 3219;
constexpr long UnsupportedSql = 3002;     // construct the SQLite dialect adapter does not know
constexpr long InjectedFault = -2147217900;  // 0x80040E14: what an injected fault reports
}

// The standard text of an error number the component raises ("Overflow" for 6, "Type mismatch" for 13...);
// "Application-defined or object-defined error" for a number without one.
std::string StandardDescription(long number);

class Error : public std::exception {
public:
    // An error with its standard description (see StandardDescription).
    explicit Error(long number);
    Error(long number, std::string description, std::string source = {});

    long Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }
    const std::string& Source() const noexcept { return source_; }

    // A copy whose source is name + CR LF + the old source: how an operation re-raises. The CR LF is
    // written even when the old source is empty, so every level of nesting adds exactly one line.
    Error WithSourcePrefix(const std::string& name) const;

    const char* what() const noexcept override { return description_.c_str(); }

private:
    long number_;
    std::string description_;
    std::string source_;
};

}  // namespace db
