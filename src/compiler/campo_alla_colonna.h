// Which field of the format a column of a source line holds: findings that know
// only their line and column name their field through it.
#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/parole_chiave.h"
#include "model/modello.h"

namespace percorso {

// The field beginning at colonna of riga, a line of the text testo (fonte::linea or
// fonte::treno) whose first field is a keyword; nullptr when no field begins there.
const campo_formato* campo_alla_colonna(fonte testo, std::string_view riga, std::int32_t colonna);

}  // namespace percorso
