// What inspect shows of a plan file.
#pragma once

#include <cstddef>
#include <string>

#include "format/decodifica.h"
#include "inspect/vista.h"

namespace percorso {

// The count of each kind of element, the metres with coordinates, the length of
// the track, its bounding box and its heading at the end.
vista descrivi_piano(const std::string& file, const piano_letto& p, std::size_t byte);

}  // namespace percorso
