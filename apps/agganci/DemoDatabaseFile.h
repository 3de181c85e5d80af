#pragma once
// The demo company database as a file. It is built in a temporary file beside its path and moved into place
// whole, so a crash never leaves a half database at the path and two builders never write the same file.
#include <optional>
#include <string>

#include "erp/DemoBuilder.h"

namespace app {

// Builds the demo database at `path` and returns the builder's summary. With `replace` a file already at
// `path` is replaced; without, a database that reached `path` meanwhile (another process was quicker) is
// kept and nothing is returned.
std::optional<std::string> BuildDemoDatabaseFile(const std::string& path, const erp::DemoOptions& options,
                                                 bool replace);

}  // namespace app
