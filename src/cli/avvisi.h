// The warning options compile and check share.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "diagnostics/messaggi.h"

namespace percorso {

// Turns off the warnings and findings called nome; an error text for an unknown name.
std::optional<std::string> spegni_avviso(std::string_view nome, filtro_avvisi& filtro);

}  // namespace percorso
