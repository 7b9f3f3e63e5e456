// Placement of track features into the cells. Each operation returns 0 when the
// feature is placed, its own refusal code, or codice_generale when an index
// falls outside the cells (what was written before that stays).
#pragma once

#include <cstdint>

#include "model/modello.h"

namespace percorso {

inline constexpr std::int32_t codice_generale = 25;

struct dati_segnale {
  std::int32_t posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo;
};
// Refuses with 16 when the signal's cell is occupied.
std::int32_t memo_segnale(modello& m, const dati_segnale& s);

struct dati_rallentamento {
  std::int32_t x, v, l, f_tt, f_ta, d_v;
};
// Refuses with 17 (warning cell), 18 (start), 19 (end) or 20 (pre-warning run).
std::int32_t memo_rallentamento(modello& m, const dati_rallentamento& r);

struct dati_indicatori {
  std::int32_t posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced;
};
// Refuses with 21 when the cell is occupied.
std::int32_t memo_indicatori_v_max(modello& m, const dati_indicatori& d);

// Orders the three kilometric references by starting position, largest first.
void progressive_ordina(modello& m);

}  // namespace percorso
