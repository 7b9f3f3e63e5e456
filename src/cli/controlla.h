// The check command: every problem of an author's two texts, nothing written.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "platform/file_system.h"

namespace percorso {

// percorso check LINEA TRENO [--no-warn=NOME] [--werror]: the findings on out, the
// count on err.
int comando_check(std::span<const std::string_view> argomenti, std::ostream& out, std::ostream& err,
                  file_system& fs);

}  // namespace percorso
