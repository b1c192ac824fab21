// Which side of the switcher a table message describes. Alpha tables and
// links messages share these kind codes in their second byte.
#pragma once

#include <cstdint>

namespace TableKind {
constexpr uint8_t Sources = 10;
constexpr uint8_t Destinations = 20;
}  // namespace TableKind
