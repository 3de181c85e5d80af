#include "db/Error.h"

#include <utility>

namespace db {

std::string StandardDescription(long number) {
    switch (number) {
    case errc::InvalidProcedureCall: return "Invalid procedure call or argument";
    case errc::Overflow: return "Overflow";
    case errc::TypeMismatch: return "Type mismatch";
    case errc::InvalidUseOfNull: return "Invalid use of Null";
    case errc::ObjectRequired: return "Object required";
    case errc::InvalidArgument:
        return "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another.";
    case errc::EofOrBof:
        return "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a "
               "current record.";
    case errc::OperationNotAllowed: return "Operation is not allowed in this context.";
    case errc::ItemNotFound: return "Item cannot be found in the collection corresponding to the requested name or ordinal.";
    default: return "Application-defined or object-defined error";
    }
}

Error::Error(long number) : Error(number, StandardDescription(number)) {}

Error::Error(long number, std::string description, std::string source)
    : number_(number), description_(std::move(description)), source_(std::move(source)) {}

Error Error::WithSourcePrefix(const std::string& name) const {
    return Error(number_, description_, name + "\r\n" + source_);
}

}  // namespace db
