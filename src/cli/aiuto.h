// The help texts of the command line.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace percorso {

// What the program does and its commands.
std::string_view aiuto_generale();
// The help of one command; nothing for an unknown command.
std::optional<std::string_view> aiuto_di(std::string_view comando);
// The usage lines at the top of a command's help, each ending in a newline.
std::string_view uso_di(std::string_view comando);
// The names of the commands.
std::vector<std::string_view> comandi();

}  // namespace percorso
