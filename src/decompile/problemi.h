// What no row can write, said with the compiled file it is in.
#pragma once

#include <string>
#include <vector>

#include "format/nomi_file.h"

namespace percorso {

struct problema {
  tipo_file file = tipo_file::celle;
  std::string cosa;
};

using problemi = std::vector<problema>;

// Adds each text as a problem of the file.
inline void aggiungi_problemi(problemi& a, tipo_file file, const std::vector<std::string>& cose) {
  for (const std::string& c : cose) a.push_back({file, c});
}

}  // namespace percorso
