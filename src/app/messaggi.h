// What the program tells its user: the meaning of each finding, and reports.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "app/esecuzione.h"

namespace percorso {

// Short Italian meaning of a finding's code.
std::string_view significato(std::int32_t codice);

// Names of the two source texts as the user knows them.
struct nomi_sorgenti {
  std::string linea;
  std::string treno;
};

// One line per finding, then the cause of a stop, on the given stream.
void stampa_rilievi(std::ostream& out, const esito_esecuzione& e, const nomi_sorgenti& nomi);

// The machine-readable report of a run, as JSON.
std::string rapporto_json(const esito_esecuzione& e, const nomi_sorgenti& nomi);

}  // namespace percorso
