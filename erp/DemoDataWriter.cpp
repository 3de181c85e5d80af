#include "erp/DemoDataWriter.h"

#include <stdexcept>

#include "db/Constants.h"
#include "db/Quote.h"
#include "db/Recordset.h"

namespace erp::demo {
namespace {

std::string Join(const std::vector<std::string>& items, const std::string& separator) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? separator : "") + items[i];
    return out;
}

// A row shorter or longer than its columns is a mistake in the demo's own tables.
void RequireShape(const ValueTable& values, const std::string& table) {
    for (const Row& row : values.rows) {
        if (row.size() != values.columns.size())
            throw std::logic_error("Demo data for " + table + ": a row has " + std::to_string(row.size()) +
                                   " values for " + std::to_string(values.columns.size()) + " columns");
    }
}

std::string TablePrefix(const std::string& table) { return table.substr(0, table.find('_')); }

}  // namespace

db::Variant Day(int year, int month, int day) { return db::Variant(db::Date::FromParts(year, month, day)); }

std::string Literal(const db::Variant& value) {
    switch (value.Type()) {
    case db::VarType::Empty:
    case db::VarType::Null: return "NULL";
    case db::VarType::String: return db::SqlText(value.CStr());
    case db::VarType::Date: return db::SqlText(value.CDate().ToIso());
    default: return db::SqlNumber(value);
    }
}

std::string DerivedTable(const ValueTable& values, const std::string& alias) {
    RequireShape(values, alias);
    if (values.rows.empty()) throw std::logic_error("Demo data for " + alias + ": no rows");
    std::vector<std::string> selects;
    for (const Row& row : values.rows) {
        std::vector<std::string> items;
        for (std::size_t c = 0; c < row.size(); ++c) items.push_back(Literal(row[c]) + " AS " + values.columns[c]);
        selects.push_back("SELECT " + Join(items, ", "));
    }
    return "(" + Join(selects, " UNION ALL ") + ") " + alias;
}

Writer::Writer(db::Connection& connection, long company)
    : connection_(connection), company_(company), companySql_(db::SqlNumber(db::Variant(company))) {}

std::string Writer::CompanyColumn(const std::string& table) { return TablePrefix(table) + "_DITTA_CG18"; }

std::string Writer::ArticleColumn(const std::string& table) {
    return table == "MG66_ANAGRART" ? "MG66_CODART" : TablePrefix(table) + "_CODART_MG66";
}

void Writer::Insert(const std::string& table, const ValueTable& values) {
    InsertRows(table, {CompanyColumn(table)}, {companySql_}, values);
}

void Writer::InsertForArticle(const std::string& table, const std::string& article, const ValueTable& values) {
    InsertRows(table, {CompanyColumn(table), ArticleColumn(table)}, {companySql_, db::SqlText(article)}, values);
}

void Writer::InsertRows(const std::string& table, const std::vector<std::string>& leadColumns,
                        const std::vector<std::string>& leadValues, const ValueTable& values) {
    RequireShape(values, table);
    if (values.rows.empty()) return;
    std::vector<std::string> columns = leadColumns;
    columns.insert(columns.end(), values.columns.begin(), values.columns.end());
    std::vector<std::string> rows;
    for (const Row& row : values.rows) {
        std::vector<std::string> items = leadValues;
        for (const db::Variant& v : row) items.push_back(Literal(v));
        rows.push_back("(" + Join(items, ", ") + ")");
    }
    Run("INSERT INTO " + table + " (" + Join(columns, ", ") + ") VALUES " + Join(rows, ", "));
}

long Writer::InsertSelect(const SetInsert& insert) {
    std::vector<std::string> columns, expressions;
    for (const auto& [column, expression] : insert.computed) {
        columns.push_back(column);
        expressions.push_back(expression);
    }
    std::string from = insert.source;
    if (!insert.values.columns.empty()) {
        for (const std::string& column : insert.values.columns) {
            columns.push_back(column);
            expressions.push_back("V." + column);
        }
        from += " CROSS JOIN " + DerivedTable(insert.values, "V");
    }
    return Run("INSERT INTO " + insert.table + " (" + Join(columns, ", ") + ") SELECT " + Join(expressions, ", ") +
               " FROM " + from + " WHERE " + insert.condition);
}

long Writer::Run(const std::string& sql) {
    long affected = 0;
    connection_.Execute(sql, &affected, static_cast<long>(db::adCmdText) | db::adExecuteNoRecords);
    return affected;
}

db::Variant Writer::Scalar(const std::string& sql) {
    auto rs = connection_.Execute(sql, nullptr, db::adCmdText);
    if (rs->RecordCount() < 1) return kNull;
    rs->MoveFirst();
    return (*rs)[0L].Value();
}

long Writer::Count(const std::string& table, const std::string& condition) {
    std::string sql = "SELECT COUNT(*) FROM " + table + " WHERE " + CompanyColumn(table) + " = " + companySql_;
    if (!condition.empty()) sql += " AND " + condition;
    return Scalar(sql).CLng();
}

}  // namespace erp::demo
