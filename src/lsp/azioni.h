// Quick fixes: the edit a finding suggests, where it suggests one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "lsp/diagnostiche.h"

namespace percorso::lsp {

// Replace the bytes of line riga (1-based) from inizio to before fine (1-based
// columns) with testo (UTF-8).
struct correzione {
  std::string titolo;
  std::int32_t riga = 1;
  std::int32_t inizio = 1;
  std::int32_t fine = 1;
  std::string testo;
};

// The fix of a finding on its line (the text's bytes), if it has one: the suggested
// keyword for a misspelt one, a point for a decimal comma, digits for letters in a
// number, a comma for another separator, plain ASCII for a character outside it.
std::optional<correzione> correzione_di(const diagnostica& d, std::string_view riga);

// The name of the finding of a character the text's code page lacks.
inline constexpr std::string_view nome_fuori_codifica = "fuori-codifica";

}  // namespace percorso::lsp
