// The messages of a run and its machine-readable report.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/esecuzione.h"
#include "diagnostics/messaggi.h"

namespace percorso {

// What the checker found that the filter shows, each at its own level, whatever
// level the run gives it.
struct conti_verifica {
  std::size_t errori = 0;
  std::size_t avvisi = 0;
};

struct messaggi_corsa {
  std::vector<messaggio> elenco;
  conti_verifica verifica;
};

// The messages of a run in order: findings, then the warnings and, when testi are
// given, the checker's findings the filter shows, then the cause of a stop. testi
// also supply the source lines. The checker's findings are warnings, or errors
// where they are errors and rigoroso is set.
messaggi_corsa messaggi_di(const esito_esecuzione& e, const nomi_sorgenti& nomi,
                           const sorgenti* testi, const filtro_avvisi& filtro, bool rigoroso);

// The line that ends a run that writes files: "0 errori, 0 avvisi; scritti 3 file in
// DIR", or "...; nessun file scritto" when it stopped before them.
std::string riassunto_corsa(const std::vector<messaggio>& messaggi, const esito_esecuzione& e,
                            std::string_view cartella);

// Every name --no-warn takes: the compiler's warnings and the checker's findings.
std::vector<std::string_view> nomi_spegnibili();

// The report of a run, as JSON.
// The compiler's outcome, every message, and the checker's counts apart.
std::string rapporto_json(const esito_esecuzione& e, const messaggi_corsa& m);

}  // namespace percorso
