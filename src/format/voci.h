// How the point table's slots are used: stations grow from slot 1, board texts
// from slot 80 down, slots 81 to 86 hold the header.
#pragma once

#include <array>
#include <vector>

#include "model/modello.h"

namespace percorso {

// Slots of the point table by use; whatever else is filled below the fixed
// slots is apart.
struct voci_divise {
  std::vector<int> stazioni, cartelli, altre;
};
voci_divise dividi_voci(const std::array<punto, numero_punti>& punti);

}  // namespace percorso
