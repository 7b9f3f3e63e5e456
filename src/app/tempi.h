// The running times of an author's two texts: compiled in memory, nothing written; the
// table a planner reads and the timetable's problems, as text or as JSON.
#pragma once

#include <string>

#include "diagnostics/messaggi.h"
#include "model/sorgenti.h"
#include "tempi/orario.h"

namespace percorso {

struct esito_tempi {
  ipotesi assunte;
  modello m;
  corsa c;
  confronto r;
  // The compiler's findings: where it stopped reading, the run covers what it read.
  std::size_t rilievi_compilatore = 0;
};

esito_tempi calcola_tempi(const sorgenti& testi, const ipotesi& i);

// An error-level problem of the timetable, or a finding of the compiler.
bool con_errori(const esito_tempi& e);

// The train and the assumptions, the table of the stretches, each problem with its place
// in the texts and a count.
std::string tabella_tempi(const esito_tempi& e, const nomi_sorgenti& nomi);

// The same as one JSON object.
std::string json_tempi(const esito_tempi& e, const nomi_sorgenti& nomi);

}  // namespace percorso
