// percorso decompile CELLE [-o DIR] [--force]: the compiled files back to two texts,
// proven to compile to the same bytes.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "platform/file_system.h"

namespace percorso {

int comando_decompile(std::span<const std::string_view> argomenti, std::ostream& out,
                      std::ostream& err, file_system& fs);

}  // namespace percorso
