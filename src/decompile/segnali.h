// The signal rows. A signal's cell keeps its codes packed by tens, any split of which
// gives them back; the pair of kinds (sx * 3 + dx) is packed with rapp in the fourth
// value, and shows alone in the repetition codes the signal writes 100 to 400 m before
// it, where no later row wrote over them. Each signal gets first the kinds of the split
// with rapp in the tens, then those its repetition codes ask, the most asked first.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "decompile/cartelli.h"
#include "decompile/righe.h"
#include "model/modello.h"

namespace percorso {

struct segnale_letto {
  std::int64_t cella = 0;
  struct cella valori;              // the first two values are 0 in cell 1, the first under a stop
  std::int32_t sotto_stazione = 0;  // the station whose stop cell covers it; 0: none
  std::vector<std::int64_t> tipi;   // sx * 3 + dx, in the order they are tried
  std::size_t scelto = 0;
};

// Whether a signal in cell c with the fourth value d4, split naturally, shows its
// repetition codes in the cells before it: what tells a signal hidden under a stop cell
// from speed indicators, which leave the same kind of values.
bool ripetizioni_visibili(std::span<const cella> celle, std::int64_t c, std::int16_t d4);

// The signals of the cells and those under stop cells, listed in nascosti.
std::vector<segnale_letto> segnali_letti(std::span<const cella> celle,
                                         const std::vector<fermata>& nascosti);

// The repetition codes of the signal with its chosen kinds: (cell, code).
std::vector<std::pair<std::int64_t, std::uint8_t>> ripetizioni_del_segnale(
    const segnale_letto& s, std::int64_t ultima_cella);

// Its row, or nothing when the fourth value cannot hold the chosen kinds.
std::optional<riga_testo> riga_segnale(const segnale_letto& s);

}  // namespace percorso
