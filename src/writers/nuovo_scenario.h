// The starting point of an author's own scenario: two source texts to edit.
#pragma once

#include <vector>

#include "model/modello.h"
#include "writers/scrittori.h"

namespace percorso {

// The line and train descriptions of a small scenario under the names of m: a few
// kilometres with every section and a row of every feature, in the embedded texts'
// column style, compiling without a finding or a warning.
std::vector<testo_da_scrivere> testi_nuovo_scenario(const modello& m);

}  // namespace percorso
