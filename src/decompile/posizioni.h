// Positions that put a row's feature in a given cell: exact metres are not kept, so a
// row stands where its cell begins.
#pragma once

#include <cstdint>

namespace percorso {

// Signals, boards, speed indicators and slowdowns take cell round(p / 50 + 1).
inline std::int64_t posizione_in_cella(std::int64_t c) {
  return 50 * (c - 1);
}

// Speed points and the rows of the profiles take cell round(p / 50).
inline std::int64_t posizione_alla_cella(std::int64_t c) {
  return 50 * c;
}

}  // namespace percorso
