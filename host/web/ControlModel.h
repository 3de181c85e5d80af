#pragma once
// A form as the page draws it: every control with its kind, its frame and its state, in the order the
// form made them. The page knows kinds of controls, never a particular form. Runs on the form's worker
// (grids ask the form for computed cells).
#include <nlohmann/json.hpp>

#include "entry/Form.h"

namespace host::web {

// Rows a grid sends to the page at most: the window from the row the page scrolled the grid to (its "first");
// the rest are counted.
inline constexpr long kGridRowLimit = 400;

// Without `grids`, each grid is only named and marked stale (read mid-run, its data may be changing).
nlohmann::json DescribeForm(entry::Form& form, bool grids = true);
nlohmann::json DescribeControl(entry::IControl& control);

}  // namespace host::web
