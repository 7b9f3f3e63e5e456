// What inspect shows of a point file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "inspect/vista.h"
#include "model/modello.h"

namespace percorso {

// The plain check code, which lives in the cell file beside the point file.
struct codice_accanto {
  std::optional<std::int64_t> nel_file;  // absent when the cell file could not tell
  std::string dove;                      // where it is, or why it is not known
};

// Stations, boards, other filled slots, the header slots 81 to 86 and the two
// check codes against the names.
vista descrivi_punti(const std::string& file, const std::array<punto, numero_punti>& punti,
                     std::size_t byte, const codice_accanto& semplice);

}  // namespace percorso
