#pragma once
// Makes the links form the one the program object shows (entry::RegisterLinksForm). Applications and tests
// call it once the shell is installed.

namespace links_form {

void Register();

}  // namespace links_form
