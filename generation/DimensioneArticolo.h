#pragma once
// The longest article code the company accepts: 25 characters, or, when the company builds its codes
// from segments (structured codes), the sum of the segment sizes.
#include <cstdint>

#include "generation/GenerationContext.h"

namespace generation {

inline constexpr std::int16_t kLunghezzaCodiceStandard = 25;

// Asks the database at every call (the segments may change while the form is open). An error is reported
// under "DimensioneArticolo"; the answer is then 25.
std::int16_t DimensioneArticolo(const GenerationContext& contesto);

}  // namespace generation
