#include "host/web/UserActions.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "db/Error.h"
#include "host/controls/AdvancedQuery.h"
#include "host/controls/BasicControls.h"
#include "host/controls/ComboBox.h"
#include "host/controls/DataNavigator.h"
#include "host/controls/Grid.h"
#include "host/controls/LookupTextBox.h"
#include "host/controls/SideBar.h"

namespace host::web {
namespace {

using nlohmann::json;

// Rows of a list the page receives at most: the person narrows a longer one by typing the start of the code.
constexpr long kListRowLimit = 500;

template <class C>
C& Find(entry::Form& form, const std::string& name) {
    auto* typed = dynamic_cast<C*>(form.Control(name).get());
    if (!typed) throw db::Error(db::errc::ItemNotFound, "The form " + form.Name() + " has no such control: " + name);
    return *typed;
}

std::string Text(const json& a, const char* key) { return a.value(key, std::string()); }

std::string Code(const std::vector<db::Variant>& row) { return row.empty() ? std::string() : row.front().Text(); }
std::string Code(const std::string& code) { return code; }
json Cells(const std::vector<db::Variant>& row) {
    json cells = json::array();
    for (const auto& v : row) cells.push_back(v.Text());
    return cells;
}
json Cells(const std::string& code) { return json::array({code}); }

// The rows whose code (the first column) starts with what was typed, case aside as a box decodes a code, the
// first kListRowLimit of them; "total" counts them all, for the page to say that the list is cut. A box that
// holds a whole code of the list was filled by a pick or a decode: its list is opened to choose another, so it
// offers them all.
template <class Row>
void ListRows(const std::vector<Row>& all, const std::string& typed, json& list) {
    std::string start = db::Trim(typed);
    const auto whole = [&start](const Row& row) { return db::SameCode(Code(row), start); };
    if (std::any_of(all.begin(), all.end(), whole)) start.clear();
    const std::size_t length = db::Len(start);
    json rows = json::array();
    long total = 0;
    for (const auto& row : all) {
        if (!db::SameText(db::Left(Code(row), length), start)) continue;
        if (++total <= kListRowLimit) rows.push_back(Cells(row));
    }
    list["rows"] = std::move(rows);
    list["total"] = total;
}

json ListToJson(const controls::LookupList& list, const std::string& typed) {
    json captions = json::array();
    for (const auto& f : list.request.fields) captions.push_back(f.caption);
    json j{{"title", list.request.title}, {"columns", list.columns}, {"captions", captions}};
    ListRows(list.rows, typed, j);
    return j;
}

entry::QueryOperator Operator(const std::string& op) {
    static const std::map<std::string, entry::QueryOperator> ops = {
        {"=", entry::QueryOperator::Uguale},          {"<>", entry::QueryOperator::Diverso},
        {"range", entry::QueryOperator::Intervallo},  {"starts", entry::QueryOperator::IniziaCon},
        {"in", entry::QueryOperator::InElenco}};
    const auto it = ops.find(op);
    if (it == ops.end()) throw db::Error(db::errc::InvalidProcedureCall, "Unknown operator " + op);
    return it->second;
}

}  // namespace

std::string MistypedField(const json& action) {
    // "key" is left out: a side bar item's key is text, a key pressed is its code.
    static const char* const kTexts[] = {"do",      "form",  "control", "panel", "text",   "code",
                                         "caption", "group", "field",   "value", "button", "op"};
    static const char* const kWholeNumbers[] = {"row", "side"};
    for (const char* key : kTexts)
        if (action.contains(key) && !action[key].is_string()) return key;
    for (const char* key : kWholeNumbers)
        if (action.contains(key) && !action[key].is_number_integer()) return key;
    return {};
}

json ApplyAction(entry::Form& form, const json& a) {
    const std::string what = Text(a, "do");
    const std::string name = Text(a, "control");
    if (what == "type") {
        if (auto* lookup = dynamic_cast<controls::LookupTextBox*>(form.Control(name).get()))
            lookup->UserType(Text(a, "text"));
        else
            Find<controls::TextBox>(form, name).UserType(Text(a, "text"));
    } else if (what == "openList") {
        auto& box = Find<controls::LookupTextBox>(form, name);
        auto list = ListToJson(box.UserOpenList(), box.Text());
        list["control"] = name;
        return list;
    } else if (what == "pick") {
        Find<controls::LookupTextBox>(form, name).UserPick(Text(a, "code"));
    } else if (what == "click") {
        if (auto* check = dynamic_cast<controls::CheckBox*>(form.Control(name).get()))
            check->UserClick();
        else
            Find<controls::Button>(form, name).UserClick();
    } else if (what == "choose") {
        Find<controls::ComboBox>(form, name).UserChoose(Text(a, "caption"));
    } else if (what == "select") {
        Find<controls::SideBar>(form, name).UserClickItem(Text(a, "group"), Text(a, "key"));
    } else if (what == "row") {
        Find<controls::Grid>(form, name).UserSelectRow(a.at("row").get<long>());
    } else if (what == "scroll") {
        Find<controls::Grid>(form, name).UserScroll(a.at("row").get<long>());
    } else if (what == "tick") {
        Find<controls::Grid>(form, name).UserTickCell(a.at("row").get<long>(), Text(a, "field"));
    } else if (what == "edit") {
        Find<controls::Grid>(form, name).UserEditCell(a.at("row").get<long>(), Text(a, "field"),
                                                      db::Variant(Text(a, "value")));
    } else if (what == "press") {
        Find<controls::DataNavigator>(form, name).UserPress(Text(a, "button"));
    } else if (what == "key") {
        int code = a.at("key").get<int>();
        form.KeyDown(code, 0);
    } else if (what == "close") {
        form.Unload(entry::vbFormControlMenu);
    } else if (what == "condition") {
        entry::QueryCondition c;
        c.field = Text(a, "field");
        c.op = Operator(Text(a, "op"));
        c.values = a.value("values", std::vector<std::string>{});
        Find<controls::AdvancedQuery>(form, name).AggiungiCondizione(c);
    } else if (what == "clearConditions") {
        Find<controls::AdvancedQuery>(form, name).Svuota();
    } else if (what == "queryList") {
        const auto codes = Find<controls::AdvancedQuery>(form, name).UserOpenList(Text(a, "field"), a.value("side", 1));
        json list{{"control", name}, {"field", Text(a, "field")}, {"side", a.value("side", 1)},
                  {"title", Text(a, "field")}, {"captions", json::array({Text(a, "field")})}, {"query", true}};
        ListRows(codes, Text(a, "text"), list);
        return list;
    } else {
        throw db::Error(db::errc::InvalidProcedureCall, "Unknown action " + what);
    }
    return nullptr;
}

}  // namespace host::web
