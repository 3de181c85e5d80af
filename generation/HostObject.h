#pragma once
// The missing-object error helper of the component, as the generation routines name it.
#include "entry/Rif.h"

namespace generation {

using entry::Richiesto;

}  // namespace generation
