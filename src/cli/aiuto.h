// The help texts of the command line.
#pragma once

#include <optional>
#include <string_view>

namespace percorso {

// What the program does and its commands.
std::string_view aiuto_generale();
// The help of one command; nothing for an unknown command.
std::optional<std::string_view> aiuto_di(std::string_view comando);

}  // namespace percorso
