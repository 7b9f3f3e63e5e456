// The line compiler: turns the line and train descriptions into the model.
#pragma once

#include "model/modello.h"
#include "model/sorgenti.h"

namespace percorso {

// Compiles both texts into m (cells, plan, point table). Findings are recorded in
// m.codice_errore, m.posizione_errore and m.rilievi; nothing is thrown.
void memorizza_dati(modello& m, const sorgenti& testi);

}  // namespace percorso
