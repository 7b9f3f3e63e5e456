// The page command: the route of two texts as one HTML page, rewritten on every save
// with --watch.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "platform/file_system.h"

namespace percorso {

// percorso page LINEA TRENO [-o FILE.html] [--nome NOME] [--treno TRENO] [--watch]
int comando_page(std::span<const std::string_view> argomenti, std::ostream& out, std::ostream& err,
                 file_system& fs);

}  // namespace percorso
