// The sections of the two texts: which ones the compiler needs, what each holds and
// what happens without it. explain and the editor's completion read this table.
#pragma once

#include <span>
#include <string_view>

namespace percorso {

struct sezione_testo {
  bool della_linea;  // in the line text, else in the train text
  std::string_view nome;
  std::string_view obbligo;  // "necessaria", "facoltativa", ...
  std::string_view contenuto;
  std::string_view senza;  // what happens without it
};

// Every section of the embedded texts, in their order: the line text's, then the train's.
std::span<const sezione_testo> sezioni_testi();

}  // namespace percorso
