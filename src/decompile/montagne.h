// The mountain-side rows of a cell file. Each row writes its type into the montagna
// byte of the cells it covers (the last row over a cell wins) and, when marked, drops
// a mark (event 11) on its 4th, 8th, ... cell when that is empty. The rows are cut
// where the marks change phase; marks the type rows cannot make come from rows of
// type 0 written first; a row that starts within 150 m of the previous row's end would
// turn into type 3, so a row that covers no cell stands between them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/modello.h"

namespace percorso {

struct riga_montagna {
  std::int64_t inizio = 0;  // metres
  std::int64_t fine = 0;
  std::int64_t tipo = 0;  // as written: above 10 for a marked stretch
  std::string solo_per;
};

struct montagne_ricostruite {
  std::vector<riga_montagna> righe;
  std::vector<std::string> problemi;
};

montagne_ricostruite righe_montagne(std::span<const cella> celle);

}  // namespace percorso
