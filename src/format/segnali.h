// A signal's codes as its cell packs them: each code of the s-side in the tens of
// dato_1, dato_2, dato_3 and the matching d-side code in the units; rapp in the tens of
// dato_4 and the two kinds below as sx x 3 + dx; the time in tempo_segnale.
#pragma once

#include <array>
#include <optional>

#include "model/modello.h"

namespace percorso {

struct codici_segnale {
  int sx = 0, dx = 0, rapp = 0, tempo = 0;
  std::array<int, 3> s{}, d{};
};

// The codes of a signal's cell; nothing when its values are not one-digit codes packed
// (codes out of their digits mix in the cell and cannot be told apart).
std::optional<codici_segnale> codici_di_segnale(const cella& c);

}  // namespace percorso
