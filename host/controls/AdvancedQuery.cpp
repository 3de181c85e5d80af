#include "host/controls/AdvancedQuery.h"

#include <cctype>

#include "db/Connection.h"
#include "db/Quote.h"
#include "entry/HostInterfaces.h"

namespace host::controls {
namespace {

db::Error Refused(const std::string& why) { return db::Error(db::errc::InvalidProcedureCall, why, "ADVQ_ARTICOLI"); }

// A column of an offered table: letters, digits and '_' only, so it can stand in a statement as it is.
bool IsColumnName(const std::string& s) {
    if (s.empty()) return false;
    for (unsigned char c : s)
        if (!std::isalnum(c) && c != '_' && c != '.') return false;
    return true;
}

}  // namespace

void AdvancedQuery::Imposta(const std::string&, long, const std::shared_ptr<entry::Cinterface>& program,
                            const std::string&, bool, const db::ConnectionPtr& connection) {
    program_ = program;
    connection_ = connection;
}

void AdvancedQuery::DefinisciCampo(const std::string& caption, const std::string& field, const std::string& group,
                                   long ordinal) {
    fields_.push_back({caption, field, group, ordinal});
}

void AdvancedQuery::OffriTabella(const std::string& table, const std::string&) { tables_.push_back(table); }

void AdvancedQuery::ValoreCampo(long ordinal, const std::string& value) {
    for (const auto& f : fields_)
        if (f.ordinal == ordinal) {
            conditions_.clear();
            conditions_.push_back({f.column, entry::QueryOperator::Uguale, {value}});
            return;
        }
    throw Refused("Campo " + std::to_string(ordinal) + " non definito");
}

const AdvancedQuery::Field* AdvancedQuery::Find(const std::string& name) const {
    const std::string upper = db::UCase(db::Trim(name));
    for (const auto& f : fields_) {
        const std::string column = db::UCase(f.column);
        const std::string bare = column.substr(column.rfind('.') == std::string::npos ? 0 : column.rfind('.') + 1);
        if (db::UCase(f.caption) == upper || column == upper || bare == upper) return &f;
    }
    return nullptr;
}

std::vector<std::string> AdvancedQuery::Captions() const {
    std::vector<std::string> captions;
    for (const auto& f : fields_) captions.push_back(f.caption);
    return captions;
}

std::string AdvancedQuery::OfferedColumn(const std::string& name) const {
    const std::string upper = db::UCase(db::Trim(name));
    if (!IsColumnName(upper)) return {};
    const std::string bare = upper.substr(upper.rfind('.') == std::string::npos ? 0 : upper.rfind('.') + 1);
    for (const auto& t : tables_) {
        const std::string prefix = db::UCase(t.substr(0, t.find('_') + 1));
        if (bare.rfind(prefix, 0) != 0) continue;
        // Only a column the table has: any other would reach the user as the selection statement's failure.
        if (!connection_) throw Refused("The query has no connection");
        const auto columns = connection_->TableColumns(t);
        for (const auto& column : *columns)
            if (db::UCase(column) == bare) return t + "." + column;
    }
    return {};
}

void AdvancedQuery::AggiungiCondizione(const entry::QueryCondition& c) {
    std::string column;
    if (const Field* f = Find(c.field)) column = f->column;
    else column = OfferedColumn(c.field);
    if (column.empty()) throw Refused(kCampoNonPrevisto + c.field);
    const std::size_t n = c.values.size();
    const bool fits = c.op == entry::QueryOperator::Intervallo ? n == 2
                      : c.op == entry::QueryOperator::InElenco ? n >= 1
                                                               : n == 1;
    if (!fits) throw Refused("Valori non adatti alla condizione sul campo " + c.field);
    // A NUL cannot be typed in a query field, and the selection statement, which carries its values as
    // text, would end at it: refused here with a clear message rather than as a broken statement.
    for (const auto& v : c.values)
        if (v.find('\0') != std::string::npos)
            throw Refused("Valore non ammesso nella condizione sul campo " + c.field + ": contiene il carattere nullo");
    conditions_.push_back({column, c.op, c.values});
}

std::string AdvancedQuery::Condizione() const {
    std::string text;
    for (const auto& c : conditions_) {
        const std::string& col = c.field;
        std::string one;
        switch (c.op) {
            case entry::QueryOperator::Uguale: one = col + " = " + db::SqlText(c.values[0]); break;
            case entry::QueryOperator::Diverso: one = col + " <> " + db::SqlText(c.values[0]); break;
            case entry::QueryOperator::Intervallo:
                one = col + " BETWEEN " + db::SqlText(c.values[0]) + " AND " + db::SqlText(c.values[1]);
                break;
            case entry::QueryOperator::IniziaCon:
                // LEFT instead of LIKE: a % or _ the user types is then an ordinary character.
                one = "LEFT(" + col + ", " + std::to_string(db::Len(c.values[0])) + ") = " + db::SqlText(c.values[0]);
                break;
            case entry::QueryOperator::InElenco: {
                std::string list;
                for (const auto& v : c.values) list += (list.empty() ? "" : ", ") + db::SqlText(v);
                one = col + " IN (" + list + ")";
                break;
            }
        }
        text += " AND " + one;
    }
    return text;
}

std::vector<std::string> AdvancedQuery::UserOpenList(const std::string& caption, int side) {
    lastRequest_ = {};
    lastRequest_.caption = caption;
    lastRequest_.side = side;
    startLookup_.Raise(lastRequest_);
    if (db::Trim(lastRequest_.statement).empty()) throw Refused("The form gave the field " + caption + " no list");
    if (!connection_) throw Refused("The query has no connection");
    std::vector<std::string> codes;
    auto rs = connection_->Execute(lastRequest_.statement);
    if (rs->RecordCount() > 0) rs->MoveFirst();
    for (; !rs->EOF(); rs->MoveNext()) codes.push_back(db::RTrim(rs->GetFields().Item(0L).Value().Text()));
    return codes;
}

void AdvancedQuery::Terminate() {
    connection_.reset();
    program_.reset();
}

}  // namespace host::controls
