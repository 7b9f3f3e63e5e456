// The order of the rows that write repetition codes: each signal writes its codes into
// the four cells before it, each station its approach codes before its stop cell,
// whatever the cells held; the last writer of a cell is what the file shows. The order
// is built from its end: a row can go last when every cell it writes that no later row
// writes shows its own code. Stations keep the order of their numbers.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "model/modello.h"

namespace percorso {

struct scrittore_ripetizioni {
  std::vector<std::pair<std::int64_t, std::uint8_t>> scritture;  // (cell, code)
  std::int32_t stazione = 0;  // a station's number; 0 for a signal
  std::int32_t prima_di = 0;  // the station this row must come before; 0: none
  std::int64_t cella = 0;     // among the rows free to go anywhere, by cell
};

struct ordine_ripetizioni {
  std::vector<std::size_t> righe;     // the order, first to last, as indices
  std::vector<std::size_t> bloccate;  // the rows no order fits, when there are any
};

// The order; when ultima_stazione, that station must be the last row of all.
ordine_ripetizioni ordina_ripetizioni(const std::vector<scrittore_ripetizioni>& scrittori,
                                      std::span<const cella> celle, std::int32_t ultima_stazione);

}  // namespace percorso
