// The page run: two texts compiled in memory, no binary written, the route page
// written whole over its file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace percorso {

struct richiesta_pagina {
  std::string linea, treno;  // files of the two texts
  std::string nome, numero;  // scenario name and train number
  std::string file;          // the page
  // Watch mode: the page names this version and follows the version script beside it.
  std::optional<std::uint64_t> versione;
};

struct esito_pagina {
  std::size_t errori = 0, avvisi = 0;
  std::optional<errore_file> errore;  // the page or its version script could not be written
  std::vector<errore_file> giornali;  // journals killed runs left beside the texts
};

// Writes the page, whatever the texts hold: what does not compile is shown as findings
// beside as much of the route as was built.
esito_pagina scrivi_pagina_percorso(file_system& fs, const richiesta_pagina& r);

// The version script of a page written in watch mode: FILE.versione.js beside it.
std::string file_versione(const std::string& file_pagina);

}  // namespace percorso
