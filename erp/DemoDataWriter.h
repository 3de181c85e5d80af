#pragma once
// How the demo builder writes its data: small tables of values turned into INSERT statements, and
// set-based INSERT ... SELECT statements that repeat a table of values for every row of a source.
// Every value goes into the statement through db::SqlText / db::SqlNumber.
#include <string>
#include <utility>
#include <vector>

#include "db/Connection.h"
#include "db/Variant.h"

namespace erp::demo {

using Row = std::vector<db::Variant>;

// Named columns and rows of values (every row has one value per column).
struct ValueTable {
    std::vector<std::string> columns;
    std::vector<Row> rows;
};

inline const db::Variant kNull = db::Variant::Null();

// A date value (midnight).
db::Variant Day(int year, int month, int day);

// The value as a statement literal: NULL, a quoted text, a number, a date as quoted ISO text.
std::string Literal(const db::Variant& value);

// "(SELECT v AS C1, v AS C2 UNION ALL SELECT ...) alias": the values as a derived table, which both
// SQL Server and SQLite accept.
std::string DerivedTable(const ValueTable& values, const std::string& alias);

// INSERT INTO table (computed columns..., value columns...)
// SELECT computed expressions..., V.value columns... FROM source [CROSS JOIN (values) V] WHERE condition
struct SetInsert {
    std::string table;
    std::vector<std::pair<std::string, std::string>> computed;  // target column, expression over the source
    std::string source;                                         // the FROM clause before the values
    std::string condition;                                      // the WHERE clause, without WHERE
    ValueTable values;                                          // no columns: one row per source row
};

class Writer {
public:
    Writer(db::Connection& connection, long company);

    db::Connection& Connection() { return connection_; }
    long Company() const { return company_; }
    // The company as a number for statements.
    const std::string& CompanySql() const { return companySql_; }

    // INSERT INTO table (<prefix>_DITTA_CG18, columns...) VALUES (company, ...), (...): one statement.
    void Insert(const std::string& table, const ValueTable& values);
    // As Insert, with the table's article column set to article after the company.
    void InsertForArticle(const std::string& table, const std::string& article, const ValueTable& values);
    // Runs the set-based insert; returns the rows written.
    long InsertSelect(const SetInsert& insert);

    // Runs a statement that returns no rows; returns the rows it changed.
    long Run(const std::string& sql);
    // First field of the first row; Null when no row comes back.
    db::Variant Scalar(const std::string& sql);
    // Rows of the company in table that meet condition (empty: all of them).
    long Count(const std::string& table, const std::string& condition = {});

    // "MG66_ANAGRART" -> "MG66_DITTA_CG18"; "MG66_CODART" for the master, "<prefix>_CODART_MG66" elsewhere.
    static std::string CompanyColumn(const std::string& table);
    static std::string ArticleColumn(const std::string& table);

private:
    void InsertRows(const std::string& table, const std::vector<std::string>& leadColumns,
                    const std::vector<std::string>& leadValues, const ValueTable& values);

    db::Connection& connection_;
    long company_;
    std::string companySql_;
};

}  // namespace erp::demo
