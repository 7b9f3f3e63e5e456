// The messages of a run and its machine-readable report.
#pragma once

#include <string>
#include <vector>

#include "app/esecuzione.h"
#include "diagnostics/messaggi.h"

namespace percorso {

// The messages of a run in order: findings, then warnings the filter shows, then the
// cause of a stop. testi, when given, supplies the source lines.
std::vector<messaggio> messaggi_di(const esito_esecuzione& e, const nomi_sorgenti& nomi,
                                   const sorgenti* testi, const filtro_avvisi& filtro);

// The report of a run, as JSON.
std::string rapporto_json(const esito_esecuzione& e, const std::vector<messaggio>& m);

}  // namespace percorso
