#pragma once
// ADO's filter grammar over the rows of a recordset, and the sort keys of Recordset::Sort.
//   criteria   := term { OR term }
//   term       := factor { AND factor }
//   factor     := '(' criteria ')' | NOT factor | field op value | field IS [NOT] NULL
//   op         := = <> != < > <= >= LIKE | NOT LIKE
//   value      := 'text' (quote doubled inside) | number | #date# | NULL | TRUE | FALSE
//   field      := name | [name with blanks]
// Texts compare as SQL Server does (case-insensitive, trailing blanks ignored); LIKE takes * or % for
// any run of characters and _ for one. A Null field matches only "= NULL" / "IS NULL" and "<> NULL".
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/Variant.h"

namespace db {

class FilterExpression {
public:
    // Resolves a field name to its index, -1 when unknown (then Error 3265). Syntax errors raise 3001.
    using FieldLookup = std::function<long(const std::string&)>;
    static std::shared_ptr<const FilterExpression> Parse(std::string_view criteria, const FieldLookup& lookup);

    // A row's value by column index.
    using ValueAt = std::function<Variant(std::size_t)>;

    virtual ~FilterExpression() = default;
    virtual bool Matches(const ValueAt& row) const = 0;
};

struct SortKey {
    long field = 0;
    bool descending = false;
};

// "A, B DESC"; unknown fields raise Error 3265, anything else malformed 3001.
std::vector<SortKey> ParseSort(std::string_view text, const FilterExpression::FieldLookup& lookup);

// Sort order of two rows: Null first, texts as SQL Server compares them.
bool SortsBefore(const FilterExpression::ValueAt& a, const FilterExpression::ValueAt& b,
                 const std::vector<SortKey>& keys);

// The filter comparison of one value with a literal (op is "=", "<>", "<", ">", "<=", ">=" or "LIKE").
bool CompareForFilter(const Variant& field, const std::string& op, const Variant& literal);

}  // namespace db
