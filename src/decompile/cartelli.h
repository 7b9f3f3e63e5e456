// The speed indicator rows and the board rows of the line text, and what a station's
// stop cell hides: it overwrites the event and the first value of its cell, the rest
// stays. A board whose cell a stop covers goes on a stop cell that hides nothing else;
// values left under a stop cell come from a signal there when they hold a time or the
// cells before show its repetition codes (its row is the train text's), else from speed
// indicators.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "decompile/problemi.h"
#include "decompile/righe.h"
#include "model/modello.h"

namespace percorso {

// The lowest slot of a board text: the boards fill the slots from 80 down, and a slot
// is theirs when a board cell names it or when it holds a name and nothing else.
std::int32_t prima_voce_cartelli(std::span<const cella> celle,
                                 const std::array<punto, numero_punti>& punti);

// A station's stop cell.
struct fermata {
  std::int64_t cella = 0;
  std::int32_t stazione = 0;
};

struct cartelli_ricostruiti {
  std::vector<riga_testo> indicatori;     // by position
  std::vector<riga_testo> cartelli;       // from slot 80 down
  std::vector<fermata> segnali_nascosti;  // stop cells over a signal's values
  problemi guasti;
};

cartelli_ricostruiti cartelli_e_indicatori(std::span<const cella> celle,
                                           const std::array<punto, numero_punti>& punti,
                                           std::int32_t prima_voce,
                                           const std::vector<fermata>& fermate);

}  // namespace percorso
