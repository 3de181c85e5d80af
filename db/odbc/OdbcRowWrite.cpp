#include "db/odbc/OdbcRowWrite.h"

#include <cctype>

namespace db::odbc {
namespace {

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

// "k1 = ? AND k2 IS NULL"; the values of the '?' markers are appended to bound.
std::string KeyCondition(const RowWrite& w, const SqlDialect& d, std::vector<BoundValue>& bound) {
    std::string where;
    for (std::size_t i = 0; i < w.keyColumns.size(); ++i) {
        if (!where.empty()) where += " AND ";
        if (w.keyValues[i].IsNull() || w.keyValues[i].IsEmpty()) {
            where += d.QuoteIdentifier(w.keyColumns[i]) + " IS NULL";
        } else {
            where += d.QuoteIdentifier(w.keyColumns[i]) + " = ?";
            bound.push_back({{}, w.keyValues[i]});
        }
    }
    return where.empty() ? "1 = 1" : where;
}

std::string ColumnList(const std::vector<std::string>& names, const SqlDialect& d) {
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) list += (i ? ", " : "") + d.QuoteIdentifier(names[i]);
    return list;
}

void PlanReadBack(const RowWrite& w, const std::vector<std::string>& key, const SqlDialect& d, RowWritePlan& plan) {
    if (w.readBack.empty() || key.empty()) return;
    const std::string select = "SELECT " + ColumnList(w.readBack, d) + " FROM " + d.Qualified(w.table) + " WHERE ";
    std::string where;
    std::vector<BoundValue> values;
    for (const std::string& k : key) {
        std::size_t i = 0;
        while (i < w.setColumns.size() && !SameName(w.setColumns[i], k)) ++i;
        if (i == w.setColumns.size()) {
            // A key column the insert did not give: the database made it.
            if (key.size() == 1 && !d.LastIdentityExpression().empty()) {
                const std::string read = select + d.QuoteIdentifier(k) + " = " + d.LastIdentityExpression();
                if (d.IsTransactSql()) {
                    plan.sql += "; " + read;
                    plan.readBackInBatch = true;
                } else {
                    plan.readBackSql = read;
                }
            }
            return;
        }
        where += (where.empty() ? "" : " AND ") + d.QuoteIdentifier(k) + " = ?";
        values.push_back({{}, w.setValues[i]});
    }
    plan.readBackSql = select + where;
    plan.readBackValues = std::move(values);
}

}  // namespace

RowWritePlan PlanRowWrite(const RowWrite& w, const std::vector<std::string>& primaryKey, const SqlDialect& d) {
    RowWritePlan plan;
    const std::string table = d.Qualified(w.table);
    const bool first = !w.keyIsPrimary;
    const std::string top = first && d.IsTransactSql() ? "TOP (1) " : "";
    switch (w.kind) {
    case RowWrite::Kind::Insert:
        if (w.setColumns.empty()) {
            plan.sql = "INSERT INTO " + table + " DEFAULT VALUES";
        } else {
            std::string markers;
            for (std::size_t i = 0; i < w.setColumns.size(); ++i) {
                markers += i ? ", ?" : "?";
                plan.values.push_back({{}, w.setValues[i]});
            }
            plan.sql = "INSERT INTO " + table + " (" + ColumnList(w.setColumns, d) + ") VALUES (" + markers + ")";
        }
        PlanReadBack(w, primaryKey, d, plan);
        break;
    case RowWrite::Kind::Update: {
        std::string sets;
        for (std::size_t i = 0; i < w.setColumns.size(); ++i) {
            sets += (i ? ", " : "") + d.QuoteIdentifier(w.setColumns[i]) + " = ?";
            plan.values.push_back({{}, w.setValues[i]});
        }
        plan.sql = "UPDATE " + top + table + " SET " + sets + " WHERE " + KeyCondition(w, d, plan.values);
        plan.firstRowOnly = first;
        break;
    }
    case RowWrite::Kind::Delete:
        plan.sql = "DELETE " + top + "FROM " + table + " WHERE " + KeyCondition(w, d, plan.values);
        plan.firstRowOnly = first;
        break;
    }
    return plan;
}

}  // namespace db::odbc
