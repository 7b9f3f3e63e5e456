// Byte images of the plan, the point table and the cells, as the simulator loads them:
// packed little-endian records, no header.
#pragma once

#include <cstdint>
#include <vector>

#include "model/modello.h"

namespace percorso {

std::vector<std::uint8_t> immagine_piano(const piano& p);
std::vector<std::uint8_t> immagine_punti(const modello& m);
std::vector<std::uint8_t> immagine_celle(const modello& m);

}  // namespace percorso
