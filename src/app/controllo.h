// The check of an author's two texts: compiled in memory, nothing written, every
// problem of the compiler and of the checker at its own level.
#pragma once

#include <vector>

#include "diagnostics/messaggi.h"
#include "model/sorgenti.h"

namespace percorso {

struct esito_controllo {
  std::vector<messaggio> messaggi;
  bool con_errori = false;  // an error-level problem, the compiler's or the checker's
};

esito_controllo controlla(const sorgenti& testi, const nomi_sorgenti& nomi,
                          const filtro_avvisi& filtro);

}  // namespace percorso
