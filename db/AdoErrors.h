#pragma once
// Errors the data-access core raises itself, with ADO's numbers and texts so that callers written for
// ADO recognise them. Driver errors carry the driver's own source instead.
#include <string>

#include "db/Error.h"

namespace db::ado {

inline const std::string kSource = "agganci.db";

constexpr long ObjectClosed = 3704;
constexpr long ObjectOpen = 3705;
constexpr long ProviderNotFound = 3706;
constexpr long ConnectionUnusable = 3709;
constexpr long NotUpdatable = 3251;
constexpr long WrongType = 3421;
constexpr long NoTransaction = -2147168242;         // 0x8004D00E
constexpr long RowNotFound = -2147217864;           // 0x80040E38: optimistic conflict
constexpr long MultipleStepError = -2147217887;     // 0x80040E21: a value a field cannot take
constexpr long IntegrityViolation = -2147217873;    // 0x80040E2F: constraint failed
constexpr long ProcedureNotFound = -2147217900;     // 0x80040E14: as the server reports a missing procedure

inline Error Raise(long number) { return Error(number, StandardDescription(number), kSource); }

inline Error ClosedError() {
    return Error(ObjectClosed, "Operation is not allowed when the object is closed.", kSource);
}
inline Error OpenError() { return Error(ObjectOpen, "Operation is not allowed when the object is open.", kSource); }
inline Error ConnectionError() {
    return Error(ConnectionUnusable,
                 "The connection cannot be used to perform this operation. It is either closed or invalid in this "
                 "context.",
                 kSource);
}
inline Error NotUpdatableError(const std::string& why) {
    return Error(NotUpdatable,
                 "Current Recordset does not support updating. This may be a limitation of the provider, or of the "
                 "selected locktype. (" + why + ")",
                 kSource);
}
inline Error WrongTypeError() {
    return Error(WrongType, "Application uses a value of the wrong type for the current operation.", kSource);
}
inline Error ArgumentError(const std::string& detail) {
    return Error(errc::InvalidArgument, StandardDescription(errc::InvalidArgument) + " " + detail, kSource);
}

}  // namespace db::ado
