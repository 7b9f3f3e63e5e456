// The header rows of the line text (length, kilometric references, backgrounds, signal
// repetition) and the general rows of the train text, from the fixed slots of the point
// table. Values are exact; which reference row a reference came from is found by trying
// the orders the compiler puts them in. A header the compile stopped in is rebuilt as it
// was read, ending with the row that stops it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "decompile/problemi.h"
#include "decompile/righe.h"
#include "model/modello.h"

namespace percorso {

struct intestazione_ricostruita {
  std::vector<riga_testo> linea;  // the stopping row last, when ferma
  bool ferma = false;             // the compile stops in the header
  std::vector<riga_testo> treno;
  bool riferimenti = false;  // a kilometric reference whose row was chosen
  problemi guasti;
};

// The header of a line of ultima_cella cells; metri_piano: the plan file's metres, when
// there is one; piano_vuoto: the plan has not even metre 0, so the header stopped.
intestazione_ricostruita intestazione(const std::array<punto, numero_punti>& punti,
                                      std::int64_t ultima_cella,
                                      std::optional<std::int64_t> metri_piano, bool piano_vuoto);

}  // namespace percorso
