#pragma once
// The engine's one way of copying a table's rows of the source article to the new article: read the
// source rows, build the new rows in the target recordset (company and article set by name, the other
// fields by position under the table's rule), show them to the caller through the Before event, write
// them in one batch, then raise the After event. When no subscriber handles the table's Before event,
// the plan names its table and has no per-row hooks, the same rows are written by one
// INSERT ... SELECT instead; a subscriber of the After event alone gets them read back.
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/Recordset.h"
#include "db/Variant.h"
#include "engine/EngineEvents.h"

namespace engine {

class CLSFA_DUPLICA;

enum class FieldAction {
    Copy,            // the source value, Null included
    CopyUnlessNull,  // the source value; a Null leaves the column to its default
    Skip,            // not written: the column keeps the table's default
    Zero,            // the integer 0
};

// Whether a field's name is one of `names`, case aside as the database takes names. A plan's rule asks it
// for every column of every table copied: compared in place, without an upper-case copy of the name.
// The names are views whose lengths the compiler counts, not texts measured at every call.
template <typename Names>
bool NameIsOneOf(std::string_view name, const Names& names) {
    return std::any_of(std::begin(names), std::end(names), [&](std::string_view n) { return db::SameText(name, n); });
}
inline bool NameIsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return NameIsOneOf<std::initializer_list<std::string_view>>(name, names);
}

// An expression over the source row that a column of the copy in one statement takes; its '?' markers take
// `args`, in order.
struct SqlValue {
    SqlValue(std::string c, std::string e, std::vector<db::Variant> a = {})
        : column(std::move(c)), expression(std::move(e)), args(std::move(a)) {}
    std::string column;
    std::string expression;
    std::vector<db::Variant> args;
};

struct CopySpec {
    std::string sourceSql;   // kept as the engine's statement text
    std::string emptySql;    // returns no row but every column of the table
    // Both statements above in the SQL both databases run as written (CommonSql.h): SQLite runs them
    // untranslated. False for texts with hints or TOP, which SQL Server is sent as they are.
    bool commonSql = false;
    bool emptyCommonSql = false;  // emptySql alone in that SQL, when the source statement has TOP or hints
    std::vector<std::pair<std::string, db::Variant>> set;  // fields written by name on every new row
    int firstField = 0;      // first field copied by position
    // None: copy every field. A plain function of the name, so that a run can keep what it decides per table.
    FieldAction (*rule)(const std::string& fieldName) = nullptr;
    // Runs once the source has rows, before the target opens; false ends the copy with nothing written.
    std::function<bool()> beforeTarget;
    // Per-row hooks. accept: false leaves the source row out. complete: last touches on the new row.
    std::function<bool(db::Recordset& source)> accept;
    std::function<void(db::Recordset& source, db::Recordset& target)> complete;
    std::function<void(db::Recordset& target)> written;  // after the row's batch (batchPerRow only)
    std::optional<EngineEvent> before, after;  // none: written without events
    bool batchPerRow = false;                  // one event pair and one batch per written row
    // For the copy in one statement: the table written, the FROM clause (WHERE included) that gives the
    // source rows, and the WHERE clause that finds the rows written. No table: always row by row. Both
    // clauses in the SQL both databases run as written (CommonSql.h): no hints.
    std::string table, sourceFrom, writtenWhere;
    // The twin of accept and complete for the copy in one statement: sourceFrom carries accept's test and
    // setSql the values complete gives, each an expression over the source row, put in place last as
    // complete is. Without it those hooks keep the copy row by row.
    bool hooksAsSql = false;
    std::vector<SqlValue> setSql;
    // The copy in one statement with the article's values apart from its text: sourceFrom's '?' markers take
    // sourceArgs, setSql's their own args, and the texts of `set` go in as markers too. Its text is then the
    // same for every article: made once per run and prepared once. Without it every value is written in.
    bool valuesApart = false;
    std::vector<db::Variant> sourceArgs;
    // When not empty, every source row is a row of this article in the engine's company, found by the table's
    // <prefix>_DITTA_CG18 and <prefix>_CODART_MG66 (<prefix>: the table's name up to its first '_'): the copy
    // has nothing to do where the article has no row.
    std::string sourceArticle;
};

class RowCopy {
public:
    explicit RowCopy(CLSFA_DUPLICA& engine) : engine_(engine) {}

    // Opens the source with plan.sourceSql. Returns false, having written nothing and raised no event,
    // when the source has no rows.
    bool Run(const CopySpec& plan);

private:
    bool SetBasedAllowed(const CopySpec& plan) const;
    // Empty when the table's columns need the row copy after all.
    std::optional<bool> RunSetBased(const CopySpec& plan);
    void CopyFields(const CopySpec& plan, db::Recordset& source, db::Recordset& target,
                    const std::vector<FieldAction>& actions);
    void Flush(const CopySpec& plan);

    CLSFA_DUPLICA& engine_;
};

// "SELECT * FROM T WHERE  T_DITTA_CG18 = <company> AND T_CODART_MG66 = '<code>'" and its empty twin: the
// statement shape the row-copy operations share. Extra clauses are appended as given.
std::string ArticleRowsSql(const std::string& table, const std::string& prefix, const std::string& company,
                           const db::Variant& code, const std::string& extra = {});
// Its WHERE clause alone (after "WHERE").
std::string ArticleRowsWhere(const std::string& prefix, const std::string& company, const db::Variant& code,
                             const std::string& extra = {});
// The same with a '?' marker where the code goes.
std::string ArticleRowsMarkerWhere(const std::string& prefix, const std::string& company,
                                   const std::string& extra = {});

}  // namespace engine
