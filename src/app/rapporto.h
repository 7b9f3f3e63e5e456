// The messages of a run and its machine-readable report.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/esecuzione.h"
#include "diagnostics/messaggi.h"

namespace percorso {

// The messages of a run in order: findings, then the warnings and, when testi are
// given, the checker's findings the filter shows, then the cause of a stop. testi
// also supply the source lines. The checker's findings are warnings, or errors
// where they are errors and rigoroso is set.
std::vector<messaggio> messaggi_di(const esito_esecuzione& e, const nomi_sorgenti& nomi,
                                   const sorgenti* testi, const filtro_avvisi& filtro,
                                   bool rigoroso = false);

// Every name --no-warn takes: the compiler's warnings and the checker's findings.
std::vector<std::string_view> nomi_spegnibili();

// The report of a run, as JSON.
std::string rapporto_json(const esito_esecuzione& e, const std::vector<messaggio>& m);

}  // namespace percorso
