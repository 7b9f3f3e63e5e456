// The two check codes derived from the train number and the scenario name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace percorso {

// Train number, then scenario name, lower-cased (A to Z only), then the filler.
std::string testo_di_controllo(std::string_view numero_treno, std::string_view nome_percorso);

// Position-weighted sum of the first 25 character codes of the check text.
std::int32_t codice_gara_st(std::string_view numero_treno, std::string_view nome_percorso);

// Plain sum of the same 25 character codes.
std::int32_t codice_gara_og(std::string_view numero_treno, std::string_view nome_percorso);

}  // namespace percorso
