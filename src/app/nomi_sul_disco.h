// The name of a text as typed against the name the system keeps for it. On Windows,
// whose names ignore case, valle_linea.txt opens Valle_linea.txt: the name as typed
// gives NOME or TRENO and so the compiled files' names, and a warning says so.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "diagnostics/messaggi.h"
#include "platform/file_system.h"

namespace percorso {

// The warnings [maiuscole] the filter shows, one for each text typed in another case
// than the system keeps its name.
std::vector<messaggio> maiuscole_diverse(file_system& fs, std::span<const std::string> testi,
                                         const filtro_avvisi& filtro);

}  // namespace percorso
