// What the embedded scenario writes in each keyword's rows, read from its texts as the
// compiler reads them: explain and the editor show it beside each field.
#pragma once

#include <cstddef>
#include <string>

#include "sintassi/parole_chiave.h"

namespace percorso {

// The values of field i of k's rows: "12 (10 righe), 4 (2 righe)", "0 in tutte le 13
// righe", "da 0 a 89500, in 13 righe", "13 testi, come 'X'", or "nessuna riga".
std::string valori_incorporati(const parola_chiave& k, std::size_t i);

// How many rows of k there are; for a keyword that carries values of its own (a curve's
// class), how each spelling is used: "curvas4 (13 righe), ...".
std::string righe_incorporate(const parola_chiave& k);

}  // namespace percorso
