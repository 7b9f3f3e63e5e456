// The train sheet of an author's compiled scenario, in the layout of the embedded one.
#pragma once

#include "documents/documento.h"
#include "model/modello.h"

namespace percorso {

// NOME_TRENO_scheda_treno.txt: the header with the train number, the first and last
// station of the timetable and the braked-mass percentage; one timetable row per
// station with a time, one row per change of the speed limit between the first and
// the last of them. Columns the texts cannot fill stay blank.
documento scheda_treno(const modello& m);

}  // namespace percorso
