// What the texts say after the compiler's stop: the texts compiled again with each
// stopping row blanked, so a page can still list, as not compiled, the rows written
// after it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/modello.h"
#include "model/sorgenti.h"

namespace percorso {

struct dopo_arresto {
  rilievo arresto;  // the finding that stopped the compiler in a text
  // Where on the line it stopped: its position, else the first row after it.
  std::optional<std::int32_t> metro;
  modello oltre;                      // the compile past the stop
  std::vector<const origine*> righe;  // rows of oltre the compiler did not reach
};

// Nothing when the compiler read both texts to their end. The texts are compiled again
// at most a bounded number of times, blanking one more stopping row each time.
std::optional<dopo_arresto> oltre_l_arresto(const modello& compilato, const sorgenti& testi);

}  // namespace percorso
