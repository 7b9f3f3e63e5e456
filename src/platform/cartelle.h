// Directories the program is asked to write into.
#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace percorso {

// Creates the directory and the missing ones above it; nothing when it is already there.
std::optional<errore_file> crea_cartella(const std::string& percorso);

}  // namespace percorso
