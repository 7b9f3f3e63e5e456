// A document for the driver built from a compiled scenario, and the warnings
// about what it could not show as the texts give it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace percorso {

struct avviso_documento {
  std::string file;
  std::int32_t riga = 0;  // 1-based line of the document
  std::string messaggio;
};

struct documento {
  std::string nome;                // file name
  std::vector<std::string> righe;  // without line ends
  std::vector<avviso_documento> avvisi;
};

}  // namespace percorso
