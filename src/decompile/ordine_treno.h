// The order of the station and signal rows of the train text: one in which every
// repetition byte's last writer is the row whose code it shows. A signal whose kinds no
// order fits is tried with the next kinds its codes allow.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "decompile/problemi.h"
#include "decompile/segnali.h"
#include "decompile/stazioni.h"
#include "model/modello.h"

namespace percorso {

struct ordine_treno {
  // The rows first to last: i below the stations' count is station i, else signal
  // i minus that count.
  std::vector<std::size_t> righe;
  problemi guasti;
};

// When the last station stops the text, it is the last row of all.
ordine_treno ordina_stazioni_e_segnali(std::span<const cella> celle,
                                       const std::vector<stazione_ricostruita>& stazioni,
                                       std::vector<segnale_letto>& segnali);

}  // namespace percorso
