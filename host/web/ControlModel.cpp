#include "host/web/ControlModel.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "entry/ControlsAdvancedQuery.h"
#include "entry/ControlsDataFrame.h"
#include "entry/ControlsGrid.h"
#include "entry/ControlsLookup.h"
#include "entry/ControlsSideBar.h"
#include "host/controls/Grid.h"
#include "host/web/WebControls.h"

namespace host::web {
namespace {

using nlohmann::json;
using K = entry::ControlKind;

const char* KindName(K kind) {
    switch (kind) {
    case K::Label: return "label";
    case K::TextBox: return "text";
    case K::LookupTextBox: return "lookup";
    case K::CheckBox: return "check";
    case K::ComboBox: return "combo";
    case K::Button: return "button";
    case K::Frame: return "frame";
    case K::DataFrame: return "dataframe";
    case K::DataNavigator: return "navigator";
    case K::Grid: return "grid";
    case K::SideBar: return "sidebar";
    case K::ProgressBar: return "progress";
    case K::StatusBar: return "status";
    case K::ResizeControl: return "resize";
    case K::MediaControl: return "media";
    case K::AdvancedQuery: return "query";
    }
    return "unknown";
}

const char* ColumnKind(entry::GridColumnKind kind) {
    switch (kind) {
    case entry::GridColumnKind::Check: return "check";
    case entry::GridColumnKind::Check2: return "check2";
    default: return "text";
    }
}

const char* OperatorName(entry::QueryOperator op) {
    switch (op) {
    case entry::QueryOperator::Uguale: return "=";
    case entry::QueryOperator::Diverso: return "<>";
    case entry::QueryOperator::Intervallo: return "range";
    case entry::QueryOperator::IniziaCon: return "starts";
    case entry::QueryOperator::InElenco: return "in";
    }
    return "=";
}

void Grid(controls::Grid& grid, json& j) {
    j["caption"] = grid.Caption();
    json columns = json::array();
    std::vector<std::string> fields;
    for (const auto& c : grid.Columns()) {
        if (!c.visible) continue;
        const bool check = c.kind != entry::GridColumnKind::Text;
        columns.push_back({{"field", c.field}, {"caption", c.caption}, {"kind", ColumnKind(c.kind)},
                           {"editable", check || c.editable}});
        fields.push_back(c.field);
    }
    const long count = grid.RowCount();
    // The rows from where the page scrolled to; the last window is a full one.
    const long first = std::min(grid.TopRow(), std::max(count - kGridRowLimit + 1, 1L));
    json rows = json::array();
    if (count > 0)
        for (auto& texts : grid.RowTexts(first, kGridRowLimit, fields)) rows.push_back(std::move(texts));
    j["columns"] = std::move(columns);
    j["rows"] = std::move(rows);
    j["first"] = first;
    j["rowCount"] = count;
    j["row"] = grid.Row();
}

void Kind(entry::IControl& control, json& j) {
    switch (control.Kind()) {
    case K::Label: j["caption"] = dynamic_cast<entry::ILabel&>(control).Caption(); break;
    case K::TextBox: {
        auto& t = dynamic_cast<entry::ITextBox&>(control);
        j["text"] = t.Text();
        j["upper"] = t.UpperCase();
        break;
    }
    case K::LookupTextBox: {
        auto& t = dynamic_cast<entry::ILookupTextBox&>(control);
        j["text"] = t.Text();
        j["upper"] = t.UpperCase();
        j["list"] = t.LookupAttivo();
        j["decoded"] = t.Decodificato();
        break;
    }
    case K::CheckBox: {
        auto& c = dynamic_cast<entry::ICheckBox&>(control);
        j["caption"] = c.Caption();
        j["value"] = c.Value();
        break;
    }
    case K::ComboBox: {
        auto& c = dynamic_cast<entry::IComboBox&>(control);
        json items = json::array();
        for (long i = 0; i < c.ListCount(); ++i) items.push_back(c.ItemCaption(i));
        j["items"] = std::move(items);
        j["index"] = c.ListIndex();
        break;
    }
    case K::Button: j["caption"] = dynamic_cast<entry::IButton&>(control).Caption(); break;
    case K::Frame: j["caption"] = dynamic_cast<entry::IFrame&>(control).Caption(); break;
    case K::DataFrame: j["status"] = dynamic_cast<entry::IDataFrame&>(control).Status(); break;
    case K::DataNavigator: {
        const auto frame = dynamic_cast<entry::IDataNavigator&>(control).Frame();
        j["status"] = frame ? frame->Status() : 0;
        break;
    }
    case K::Grid: Grid(dynamic_cast<controls::Grid&>(control), j); break;
    case K::SideBar: {
        auto& s = dynamic_cast<entry::ISideBar&>(control);
        json items = json::array();
        if (auto* web = dynamic_cast<WebSideBar*>(&control))
            for (const auto& i : web->Items())
                items.push_back({{"group", i.group}, {"key", i.key}, {"caption", i.caption},
                                 {"enabled", s.ItemEnabled(i.group, i.key)}});
        j["items"] = std::move(items);
        j["selected"] = s.SelectedItem();
        break;
    }
    case K::ProgressBar: {
        auto& p = dynamic_cast<entry::IProgressBar&>(control);
        j["min"] = p.Min();
        j["max"] = p.Max();
        j["value"] = p.Value();
        j["caption"] = p.CaptionVisible() ? p.Caption() : "";
        j["text"] = p.TextVisible() ? p.Text() : "";
        break;
    }
    case K::StatusBar: {
        auto& s = dynamic_cast<entry::IStatusBar&>(control);
        json panels = json::array();
        for (long i = 1; i <= s.PanelCount(); ++i) panels.push_back(s.Panels(i).Text());
        j["panels"] = std::move(panels);
        break;
    }
    case K::AdvancedQuery: {
        auto& q = dynamic_cast<entry::IAdvancedQuery&>(control);
        json fields = json::array();
        if (auto* web = dynamic_cast<WebAdvancedQuery*>(&control))
            for (const auto& f : web->Fields()) fields.push_back(f.caption);
        json conditions = json::array();
        for (const auto& c : q.Condizioni())
            conditions.push_back({{"field", c.field}, {"op", OperatorName(c.op)}, {"values", c.values}});
        j["fields"] = std::move(fields);
        j["conditions"] = std::move(conditions);
        break;
    }
    default: break;
    }
}

}  // namespace

json DescribeControl(entry::IControl& control) {
    json j{{"name", control.Name()}, {"kind", KindName(control.Kind())}, {"visible", control.Visible()},
           {"enabled", control.Enabled()}, {"focus", control.HasFocus()}};
    if (const auto frame = control.Container()) j["in"] = frame->Name();
    try {
        Kind(control, j);
    } catch (const std::exception& e) {
        // A control whose state cannot be read (a grid over closed data) is drawn empty, not dropped.
        j["unreadable"] = e.what();
    }
    return j;
}

json DescribeForm(entry::Form& form, bool grids) {
    json controls = json::array();
    for (const auto& c : form.Controls()) {
        if (!grids && c->Kind() == K::Grid)
            controls.push_back({{"name", c->Name()}, {"kind", "grid"}, {"stale", true}});
        else
            controls.push_back(DescribeControl(*c));
    }
    return {{"name", form.Name()}, {"caption", form.Caption()}, {"modal", form.Modal()}, {"controls", std::move(controls)}};
}

}  // namespace host::web
