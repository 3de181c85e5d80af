#pragma once
// ADO-style command with named, typed parameters: text statements and stored procedures.
#include <memory>
#include <string>
#include <vector>

#include "db/Constants.h"
#include "db/Object.h"
#include "db/Variant.h"

namespace db {

class Connection;
class Recordset;

class Parameter : public Object {
public:
    Parameter() = default;
    Parameter(std::string name, long type, long direction, long size, Variant value);

    const std::string& Name() const { return name_; }
    void Name(const std::string& v) { name_ = v; }
    long Type() const { return type_; }
    void Type(long v) { type_ = v; }
    long Direction() const { return direction_; }
    void Direction(long v) { direction_ = v; }
    long Size() const { return size_; }
    void Size(long v) { size_ = v; }
    int Precision() const { return precision_; }
    void Precision(int v) { precision_ = v; }
    int NumericScale() const { return numericScale_; }
    void NumericScale(int v) { numericScale_ = v; }
    const Variant& Value() const { return value_; }
    void Value(const Variant& v) { value_ = v; }

private:
    std::string name_;
    long type_ = adEmpty;
    long direction_ = adParamInput;
    long size_ = 0;
    int precision_ = 0;
    int numericScale_ = 0;
    Variant value_;
};

using ParameterPtr = std::shared_ptr<Parameter>;

class Parameters {
public:
    void Append(const ParameterPtr& p);
    void Delete(const std::string& name);
    void Refresh() {}  // the parameter list is always the one built by the caller
    long Count() const { return static_cast<long>(items_.size()); }
    Parameter& Item(long index) const;               // Error 3265 when out of range
    Parameter& Item(const std::string& name) const;  // case-insensitive; Error 3265 when unknown
    Parameter& operator[](long index) const { return Item(index); }
    Parameter& operator[](int index) const { return Item(static_cast<long>(index)); }
    Parameter& operator[](const std::string& name) const { return Item(name); }
    Parameter& operator[](const char* name) const { return Item(std::string(name)); }
    const std::vector<ParameterPtr>& All() const { return items_; }

private:
    std::vector<ParameterPtr> items_;
};

class Command : public Object {
public:
    static std::shared_ptr<Command> Create();

    std::shared_ptr<Connection> ActiveConnection() const { return connection_; }
    void ActiveConnection(const std::shared_ptr<Connection>& c) { connection_ = c; }
    const std::string& CommandText() const { return text_; }
    void CommandText(const std::string& v) { text_ = v; }
    long CommandType() const { return type_; }
    void CommandType(long v) { type_ = v; }
    bool NamedParameters() const { return named_; }
    void NamedParameters(bool v) { named_ = v; }
    long CommandTimeout() const { return timeout_; }
    void CommandTimeout(long v) { timeout_ = v; }

    Parameters& GetParameters() { return parameters_; }
    ParameterPtr CreateParameter(const std::string& name = {}, long type = adEmpty,
                                 long direction = adParamInput, long size = 0, const Variant& value = {});

    // Text: parameters bind to '?' markers (positional) or @names (named). Stored procedure: on SQLite
    // the procedure registered under CommandText runs with the parameters; output values come back
    // into the parameters.
    std::shared_ptr<Recordset> Execute(long* recordsAffected = nullptr, long options = adOptionUnspecified);

private:
    std::shared_ptr<Connection> connection_;
    std::string text_;
    long type_ = adCmdText;
    bool named_ = false;
    long timeout_ = 30;
    Parameters parameters_;
};

using CommandPtr = std::shared_ptr<Command>;

}  // namespace db
