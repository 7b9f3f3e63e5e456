// The inspect feature: compiled files shown as readable text or as JSON.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "platform/file_system.h"

namespace percorso {

// Shows each file, recognised by name or else by content; with json one object per
// file, a list when there are several. Faults go to err; false when any file could
// not be read or decoded (the others are shown all the same).
bool ispeziona(std::span<const std::string> file, file_system& fs, bool json, std::ostream& out,
               std::ostream& err);

}  // namespace percorso
