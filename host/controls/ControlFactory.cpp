#include "host/controls/ControlFactory.h"

#include "entry/HostInterfaces.h"
#include "host/controls/AdvancedQuery.h"
#include "host/controls/BasicControls.h"
#include "host/controls/ComboBox.h"
#include "host/controls/DataFrame.h"
#include "host/controls/DataNavigator.h"
#include "host/controls/Grid.h"
#include "host/controls/MediaControl.h"
#include "host/controls/ProgressBar.h"
#include "host/controls/ResizeControl.h"
#include "host/controls/SideBar.h"
#include "host/controls/StatusBar.h"

namespace host::controls {

std::shared_ptr<entry::IControl> NewControl(entry::ControlKind kind, const std::string& name,
                                            const ConnectionResolver& resolver) {
    using K = entry::ControlKind;
    switch (kind) {
    case K::Label: return std::make_shared<Label>(name);
    case K::TextBox: return std::make_shared<TextBox>(name);
    case K::LookupTextBox: return std::make_shared<LookupTextBox>(name, resolver);
    case K::CheckBox: return std::make_shared<CheckBox>(name);
    case K::ComboBox: return std::make_shared<ComboBox>(name);
    case K::Button: return std::make_shared<Button>(name);
    case K::Frame: return std::make_shared<Frame>(name);
    case K::DataFrame: return std::make_shared<DataFrame>(name);
    case K::DataNavigator: return std::make_shared<DataNavigator>(name);
    case K::Grid: return std::make_shared<Grid>(name);
    case K::SideBar: return std::make_shared<SideBar>(name);
    case K::ProgressBar: return std::make_shared<ProgressBar>(name);
    case K::StatusBar: return std::make_shared<StatusBar>(name);
    case K::ResizeControl: return std::make_shared<ResizeControl>(name);
    case K::MediaControl: return std::make_shared<MediaControl>(name);
    case K::AdvancedQuery: return std::make_shared<AdvancedQuery>(name);
    }
    throw entry::OggettoNonDisponibile(name);
}

}  // namespace host::controls
