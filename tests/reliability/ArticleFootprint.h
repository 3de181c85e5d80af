#pragma once
// Every row of the company that belongs to an article: the rows with a column holding its code, the rows
// that hang on their identifiers (attributes and attachments on a row's GUID, bill lines on their header),
// and the mark of its completion ("FA12_ARTICOLI completed"). An article is complete when its rows per
// table are those of a run without faults, and wholly absent when it has none.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Queries.h"
#include "db/Connection.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "erp/TableColumns.h"

namespace reliability {

using Footprint = std::map<std::string, long>;  // table -> rows; tables without rows are left out

namespace detail {

inline std::string Upper(std::string s) {
    for (char& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return s;
}

inline std::string InList(const std::set<std::string>& values, bool numbers) {
    std::string list;
    for (const auto& v : values) list += (list.empty() ? "(" : ", ") + (numbers ? v : db::SqlText(v));
    return list + ")";
}

// Rows that carry no code of their own but belong to the row whose identifier they name.
struct Hanging {
    const char* table;
    const char* column;
    bool numeric;
};
inline constexpr Hanging kHanging[] = {{"FA13_ATTRIBUTI", "FA13_GUID", false},
                                       {"AG01_ALLEGATI", "AG01_GUIDRIF", false},
                                       {"PD96_LEGAMIDISBA", "PD96_IDDISBA_PD95", true}};

}  // namespace detail

// The footprint of each of `codes` (every code gets an entry, empty when nothing carries it).
inline std::map<std::string, Footprint> Footprints(db::Connection& c, const std::vector<std::string>& codes) {
    std::map<std::string, std::string> byUpper;  // the database compares codes without case
    std::set<std::string> wanted;
    for (const auto& code : codes) {
        byUpper[detail::Upper(code)] = code;
        wanted.insert(code);
    }
    std::map<std::string, Footprint> result;
    std::map<std::string, std::set<std::string>> guids, bills;
    for (const auto& code : codes) result[code];
    const std::string list = detail::InList(wanted, false);
    for (const auto& table : erp::SchemaTables()) {
        std::string where;
        for (const auto& column : table.columns) where += (where.empty() ? "" : " OR ") + column.name + " IN " + list;
        auto rs = c.Execute("SELECT * FROM " + table.name + " WHERE " + where);
        if (rs->RecordCount() == 0) continue;
        const long n = rs->GetFields().Count();
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) {
            std::set<std::string> owners;
            for (long i = 0; i < n; ++i) {
                const db::Variant v = rs->GetFields().Item(i).Value();
                if (v.IsNull()) continue;
                const auto it = byUpper.find(detail::Upper(db::RTrim(v.Text())));
                if (it != byUpper.end()) owners.insert(it->second);
            }
            for (const auto& owner : owners) {
                ++result[owner][table.name];
                for (long i = 0; i < n; ++i) {
                    const auto& field = rs->GetFields().Item(i);
                    if (field.Value().IsNull()) continue;
                    if (field.Name().ends_with("_GUID")) guids[owner].insert(field.Value().Text());
                    if (field.Name() == "PD95_IDDISBA") bills[owner].insert(field.Value().Text());
                }
            }
        }
    }
    for (const auto& code : codes) {
        // The completion after the copy's commit writes no rows of its own: its mark is the source model
        // recorded on the fashion record.
        if (const long rows = testsupport::Count(c, "SELECT COUNT(*) FROM FA12_ARTICOLI WHERE FA12_CODART_MG66 = " +
                                                        db::SqlText(code) + " AND FA12_MODAGG_COD_MG66 <> ''");
            rows > 0)
            result[code]["FA12_ARTICOLI completed"] = rows;
        for (const auto& h : detail::kHanging) {
            const auto& ids = h.numeric ? bills[code] : guids[code];
            if (ids.empty()) continue;
            if (const long rows = testsupport::Count(c, std::string("SELECT COUNT(*) FROM ") + h.table + " WHERE " +
                                                            h.column + " IN " + detail::InList(ids, h.numeric));
                rows > 0)
                result[code][h.table] += rows;
        }
    }
    return result;
}

// "TABLE: expected E, found F" for every table where the two differ; empty when they match.
inline std::string FootprintDifference(const Footprint& expected, const Footprint& found) {
    std::set<std::string> tables;
    for (const auto& [t, n] : expected) tables.insert(t);
    for (const auto& [t, n] : found) tables.insert(t);
    std::string text;
    for (const auto& t : tables) {
        const long e = expected.count(t) ? expected.at(t) : 0;
        const long f = found.count(t) ? found.at(t) : 0;
        if (e != f) text += t + ": expected " + std::to_string(e) + ", found " + std::to_string(f) + "; ";
    }
    return text;
}

}  // namespace reliability
