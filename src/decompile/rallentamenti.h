// The slowdown rows: a start cell (event 3) with its warning board 1200 m before it
// (event 4, only past 1500 m), its end cell (event 2) and, on request, the four
// pre-warning cells (event 5) before the board. The warning board and the pre-warning
// cells tell where in its cell the start lies; the end is any cell with the same values.
// A part that a station's stop cell covers is found by the values it left there (all
// but its first); its row must then come before that station's.
#pragma once

#include <span>
#include <vector>

#include "decompile/cartelli.h"
#include "decompile/problemi.h"
#include "decompile/righe.h"
#include "model/modello.h"

namespace percorso {

struct rallentamenti_ricostruiti {
  std::vector<riga_testo> righe;  // by start
  // Rows with a part under a stop cell, to go before every station.
  std::vector<riga_testo> prima_delle_stazioni;
  std::vector<fermata> fermate_libere;  // the stop cells that hide no part of a slowdown
  problemi guasti;
};

rallentamenti_ricostruiti rallentamenti_letti(std::span<const cella> celle,
                                              const std::vector<fermata>& fermate);

}  // namespace percorso
