#include "cli/avvisi.h"

#include <algorithm>

#include "app/rapporto.h"
#include "cli/opzioni.h"

namespace percorso {

std::optional<std::string> spegni_avviso(std::string_view nome, filtro_avvisi& filtro) {
  const auto nomi = nomi_spegnibili();
  if (std::find(nomi.begin(), nomi.end(), nome) == nomi.end())
    return "avviso sconosciuto: " + std::string(nome) + forse(nome, nomi) +
           "; 'percorso explain' elenca i nomi";
  filtro.spenti.emplace(nome);
  return std::nullopt;
}

}  // namespace percorso
