// The plot command: the plan and the profile of a compiled line as one SVG.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "platform/file_system.h"

namespace percorso {

std::string_view aiuto_plot();

// percorso plot CELLFILE [-o FILE.svg]
int comando_plot(std::span<const std::string_view> argomenti, std::ostream& out, std::ostream& err,
                 file_system& fs);

}  // namespace percorso
