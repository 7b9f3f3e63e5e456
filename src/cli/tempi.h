// The tempi command: the train's running times over the line, against its timetable.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "platform/file_system.h"

namespace percorso {

// percorso tempi LINEA TRENO [--json] [--metri-vettura M] [--accelerazione A]
//                            [--frenatura F] [--reazione S]
int comando_tempi(std::span<const std::string_view> argomenti, std::ostream& out, std::ostream& err,
                  file_system& fs);

}  // namespace percorso
