#include "host/controls/StatusBar.h"

#include "db/Error.h"

namespace host::controls {

StatusBar::StatusBar(std::string name, long panels) : Control(std::move(name)) {
    for (long i = 0; i < panels; ++i) panels_.push_back(std::make_unique<StatusPanel>());
}

entry::IStatusPanel& StatusBar::Panels(long index) {
    if (index < 1 || index > PanelCount()) throw db::Error(35600, "Index out of bounds");
    return *panels_[static_cast<std::size_t>(index - 1)];
}

}  // namespace host::controls
