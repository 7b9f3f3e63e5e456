// The command line of the program: parsing, dispatch and help.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "cli/uscita.h"
#include "platform/file_system.h"

namespace percorso {

// Runs the command given by the arguments (without the program name).
int esegui_comando(std::span<const std::string_view> argomenti, std::ostream& out,
                   std::ostream& err, file_system& fs);

}  // namespace percorso
