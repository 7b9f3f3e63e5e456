// What inspect shows of a cell file.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "inspect/vista.h"
#include "model/modello.h"

namespace percorso {

// The point file that names the stations and boards of a cell file: its name,
// and its table when it could be read (else why not, as a text).
struct nomi_accanto {
  std::string file{};
  const std::array<punto, numero_punti>* punti = nullptr;
  std::string perche{};  // when punti is null
};

// Every cell with an event or a repetition code, the header of cell 1, the count
// of each event and the line profile as runs of cells.
vista descrivi_celle(const std::string& file, const std::vector<cella>& celle,
                     const nomi_accanto& nomi);

}  // namespace percorso
