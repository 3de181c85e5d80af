#pragma once
// The shell's controls as the browser shell makes them: the headless controls, plus what the page needs
// to draw them that the forms' interfaces do not expose (the side bar's items, the advanced query's
// fields), and a progress bar that lets the page see each refresh while a run is working.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/controls/AdvancedQuery.h"
#include "host/controls/ControlFactory.h"
#include "host/controls/ProgressBar.h"
#include "host/controls/SideBar.h"

namespace host::web {

class WebSideBar : public controls::SideBar {
public:
    struct Item {
        std::string group, key, caption;
    };
    struct Group {
        std::string key, caption;
    };
    using SideBar::SideBar;
    void AddGroup(const std::string& group, const std::string& caption) override;
    void AddItem(const std::string& group, const std::string& key, const std::string& caption) override;
    void Clear() override;
    const std::vector<Group>& Groups() const { return groups_; }
    const std::vector<Item>& Items() const { return items_; }

private:
    std::vector<Group> groups_;
    std::vector<Item> items_;
};

class WebAdvancedQuery : public controls::AdvancedQuery {
public:
    struct Field {
        std::string caption, column;
    };
    using AdvancedQuery::AdvancedQuery;
    void RimuoviCampi() override;
    void DefinisciCampo(const std::string& caption, const std::string& field, const std::string& group,
                        long ordinal) override;
    const std::vector<Field>& Fields() const { return fields_; }

private:
    std::vector<Field> fields_;
};

class WebProgressBar : public controls::ProgressBar {
public:
    WebProgressBar(std::string name, std::function<void()> refreshed)
        : ProgressBar(std::move(name)), refreshed_(std::move(refreshed)) {}
    void Refresh() override;

private:
    std::function<void()> refreshed_;
};

// The control of that kind for a form of the browser shell; `refreshed` runs on each progress refresh.
std::shared_ptr<entry::IControl> NewWebControl(entry::ControlKind kind, const std::string& name,
                                               const controls::ConnectionResolver& resolver,
                                               const std::function<void()>& refreshed);

}  // namespace host::web
