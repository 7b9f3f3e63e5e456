// A model with only its cells, all empty: the fixture of the placement and
// completion tests.
#pragma once

#include <cstddef>

#include "model/modello.h"

namespace percorso {

inline modello con_celle(std::size_t n) {
  modello m;
  m.celle.resize(n);
  return m;
}

}  // namespace percorso
