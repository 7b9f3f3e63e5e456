// The compile command: an author's two texts into the three binary files.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "platform/file_system.h"

namespace percorso {

// percorso compile LINEA TRENO [OPTIONS]
int comando_compile(std::span<const std::string_view> argomenti, std::ostream& err,
                    file_system& fs);

}  // namespace percorso
