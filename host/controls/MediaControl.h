#pragma once
// The shell's media control: asks the form for its structure (what the form offers to the shell's
// media and script layer) and keeps what the form added.
#include <memory>
#include <string>
#include <vector>

#include "entry/Controls.h"
#include "host/controls/ControlBase.h"

namespace host::controls {

class MediaStructure : public entry::IMediaStructure {
public:
    struct Entry {
        db::ObjectPtr item;
        std::string title;
        long a = 0, b = 0, c = 0;
    };
    void Add(const db::ObjectPtr& item, const std::string& title, long a, long b, long c) override {
        entries.push_back({item, title, a, b, c});
    }
    std::vector<Entry> entries;
};

class MediaControl : public Control<entry::IMediaControl> {
public:
    using Control::Control;
    std::shared_ptr<entry::Cinterface> ActiveInterface() const override { return program_; }
    void ActiveInterface(const std::shared_ptr<entry::Cinterface>& program) override { program_ = program; }
    entry::Event<const std::shared_ptr<entry::IMediaStructure>&>& AddStructure() override { return addStructure_; }

    // Asks the form for its structure and returns what it added.
    std::shared_ptr<MediaStructure> RequestStructure() {
        auto structure = std::make_shared<MediaStructure>();
        addStructure_.Raise(structure);
        return structure;
    }

private:
    std::shared_ptr<entry::Cinterface> program_;
    entry::Event<const std::shared_ptr<entry::IMediaStructure>&> addStructure_;
};

}  // namespace host::controls
