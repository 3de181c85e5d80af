#pragma once
// Makes the shell's control of a kind (what entry::IShell::CreateControl hands to a form).
#include <memory>
#include <string>

#include "entry/Controls.h"
#include "host/controls/LookupTextBox.h"

namespace host::controls {

// Lookup boxes receive the resolver of the shell's connections. Error 429 for a kind the shell lacks.
std::shared_ptr<entry::IControl> NewControl(entry::ControlKind kind, const std::string& name,
                                            const ConnectionResolver& resolver = {});

}  // namespace host::controls
