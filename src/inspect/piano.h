// What inspect shows of a plan file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "format/decodifica.h"
#include "inspect/vista.h"

namespace percorso {

// The count of each kind of element, the metres with coordinates, the length of
// the track, its bounding box and its heading at the end, from a plan that
// metri_del_piano accepted with that many metres.
vista descrivi_piano(const std::string& file, std::span<const std::uint8_t> dati,
                     std::size_t metri);

}  // namespace percorso
