// The line compiler: turns the line and train descriptions into the model.
#pragma once

#include "model/modello.h"
#include "model/sorgenti.h"

namespace percorso {

// What a compilation keeps of the plan: its coordinates, to be written, or only its
// extent, to check a text: the findings are the same, and the plan's memory and
// arithmetic are saved.
enum class coordinate_piano : bool { tenute, contate };

// Compiles both texts into m (cells, plan, point table). Findings are recorded in
// m.codice_errore, m.posizione_errore and m.rilievi; nothing is thrown.
void memorizza_dati(modello& m, const sorgenti& testi,
                    coordinate_piano coordinate = coordinate_piano::tenute);

}  // namespace percorso
