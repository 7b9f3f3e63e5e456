// What a column of a source line holds: the keyword, or a field of the keyword's
// row with its byte range. Findings that know only their line and column name their
// field through it; an editor can ask it where the cursor stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/modello.h"
#include "sintassi/parole_chiave.h"

namespace percorso {

struct campo_in_riga {
  const parola_chiave* chiave = nullptr;  // the first keyword of the text the line passes
  const campo_formato* campo = nullptr;   // nullptr: the keyword field itself
  std::size_t inizio = 0;                 // the field's bytes [inizio, fine) in the line
  std::size_t fine = 0;
};

// The field of riga, a line of the text testo (fonte::linea or fonte::treno) whose
// first field is a keyword, that holds the 1-based byte column colonna (an empty
// field holds the column where it stands); nothing when no field holds it.
std::optional<campo_in_riga> campo_alla_colonna(fonte testo, std::string_view riga,
                                                std::int32_t colonna);

}  // namespace percorso
