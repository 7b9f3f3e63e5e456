// The speed points of a cell file that come from rows of the train text. The completion
// pass adds its own after the texts, all at 180 km/h: run again on the cells without
// any point at 180, it puts back those that are its own, and the others are rows.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "decompile/problemi.h"
#include "decompile/righe.h"
#include "model/modello.h"

namespace percorso {

struct punti_degli_autori {
  std::vector<std::int64_t> celle;  // cells of event 12 or 13 that a row must place
  std::vector<std::string> problemi;
};

punti_degli_autori punti_dei_testi(std::span<const cella> celle);

// The rows of those points; what the completion would not give back goes to guasti.
std::vector<riga_testo> righe_punti_velocita(std::span<const cella> celle, problemi& guasti);

}  // namespace percorso
