// The numbers the page's script reads: what each cell holds and where metres lie in
// the drawing. Only numbers: no text of the sources reaches the script.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/modello.h"
#include "page/pagina.h"

namespace percorso {

// A JavaScript object literal; arresto is the metre where the compiler stopped.
std::string dati_script(const modello& m, const disegno_linea& d,
                        std::optional<std::int32_t> arresto);

}  // namespace percorso
