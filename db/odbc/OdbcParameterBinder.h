#pragma once
// Binds values to the '?' markers of a statement with SQLBindParameter and keeps their buffers alive
// until the statement has run; for a procedure call, reads the output values back.
//
// A value of a text statement binds by its own kind: ASCII text as SQL_C_CHAR (8000-character
// VARCHAR), other text as UTF-16 (4000-character NVARCHAR; longer ones as the long types), Integer as
// SMALLINT, Long as INTEGER, Boolean as INTEGER 1/0 (as the ERP's flag columns store it), Double as
// DOUBLE, Decimal as the exact text of a NUMERIC(18, its scale), Date as TIMESTAMP, Empty/Null/Missing as
// NULL. The declared sizes stay the same from one row to the next, so a cached statement is not
// prepared again on the server. A procedure parameter binds by its declared ADO type, size, precision
// and scale, which is what the procedure was written for.
#include <sql.h>
#include <sqlext.h>

#include <deque>
#include <string>
#include <vector>

#include "db/Variant.h"

namespace db {
class Parameter;
}

namespace db::odbc {

class ParameterBinder {
public:
    // sql names the statement in the errors raised.
    ParameterBinder(SQLHSTMT stmt, std::string sql) : stmt_(stmt), sql_(std::move(sql)) {}
    ParameterBinder(const ParameterBinder&) = delete;
    ParameterBinder& operator=(const ParameterBinder&) = delete;

    // Binds the next marker. Objects raise Error 13.
    void Bind(const Variant& value);
    // Binds the next marker as the parameter declares it, with its direction.
    void Bind(const Parameter& parameter);

    std::size_t Count() const { return slots_.size(); }
    // The value the server left in the buffer of marker `index` (0-based) after the statement ran and
    // every result was read (ODBC fills output buffers only then).
    Variant Output(std::size_t index) const;

    // The parts of a binding, exposed for tests of the type choices.
    struct Slot {
        SQLSMALLINT ioType = SQL_PARAM_INPUT;
        SQLSMALLINT cType = SQL_C_CHAR;
        SQLSMALLINT sqlType = SQL_VARCHAR;
        SQLULEN columnSize = 1;
        SQLSMALLINT digits = 0;
        long adoType = 0;  // declared type of a procedure parameter; 0 for a text statement's value
        std::vector<char> buffer;
        SQLLEN indicator = 0;
    };
    static Slot SlotForValue(const Variant& value);
    static Slot SlotForParameter(const Parameter& parameter);
    const Slot& At(std::size_t index) const { return slots_.at(index); }

private:
    void BindSlot(Slot slot);

    SQLHSTMT stmt_;
    std::string sql_;
    std::deque<Slot> slots_;  // a deque keeps the buffers in place as slots are added
};

}  // namespace db::odbc
