#pragma once
// What a person does on a form in the page, applied to the form's controls as the headless shell's
// scripted user does it: typing, picking from a list, clicking, ticking, pressing a navigator button,
// a key, closing the window. Runs on the form's worker.
#include <string>

#include <nlohmann/json.hpp>

#include "entry/Form.h"

namespace host::web {

// Applies the action ({"do": ..., "control": ..., ...}). Returns what the page should show in reply (a
// list of values: the codes starting with the text in the box, or with the action's "text" for a query's list,
// at most 500, and their "total"), or null. Throws what the control or the form raised.
nlohmann::json ApplyAction(entry::Form& form, const nlohmann::json& action);

// The first field of an action whose type is wrong (a number where a control's name belongs...), or
// empty when there is none. Any thread: the server refuses such an action before it reaches the form.
std::string MistypedField(const nlohmann::json& action);

}  // namespace host::web
