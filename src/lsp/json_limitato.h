// A message's JSON, taken only within bounds. The JSON library follows nesting by
// recursion when it copies or compares a value, and builds every small value at a
// cost many times its bytes: a message is built by a parse that recurses on nothing,
// prices each value as it builds it, and stops at the first bound crossed, before the
// value that crosses it.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>

namespace percorso::lsp {

// Deeper nesting than this is refused.
inline constexpr std::size_t annidamento_massimo = 128;
// The values of a message take in memory at most this many times its bytes, beyond
// a first MiB that any message may take.
inline constexpr std::size_t fattore_memoria = 8;
inline constexpr std::size_t memoria_di_base = std::size_t{1} << 20;

struct json_letto {
  nlohmann::json valore;  // built only when within the bounds
  std::string errore;     // why it was not: not JSON, too deep, too large
  int codice = 0;         // the JSON-RPC error to answer with
  nlohmann::json id;      // the id at the top of a message beyond the bounds, if any
};

json_letto leggi_json(const std::string& corpo);

}  // namespace percorso::lsp
