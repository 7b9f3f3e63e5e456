// The build procedure: compile, complete, stamp header values and check codes.
#pragma once

#include <cstdint>
#include <optional>

#include "compiler/compilatore.h"
#include "model/modello.h"

namespace percorso {

enum class stato_costruzione {
  pronta,       // the model is ready to be written
  senza_celle,  // the compiler never made cell 1
  errore_1250,  // a header slot was already used
  errore_1251,  // a check-code slot was already used
};

// Runs the whole build on m (names already set) with the plan flag j.
stato_costruzione memorizza_percorso(modello& m, const sorgenti& testi, std::int32_t j,
                                     coordinate_piano coordinate = coordinate_piano::tenute);

}  // namespace percorso
