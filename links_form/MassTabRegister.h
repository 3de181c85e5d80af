#pragma once
// Gives every links form made from now on the mass-duplication tab (its library is otherwise not linked
// in: the form works with an empty tab).
namespace links_form {

void RegistraSchedaMassiva();

}  // namespace links_form
