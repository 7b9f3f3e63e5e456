// The slowdown order of an author's compiled scenario, in the layout of the embedded one.
#pragma once

#include "documents/documento.h"
#include "model/modello.h"

namespace percorso {

// NOME_TRENO_rallentamenti.txt: the line's first and last station, the train number,
// one row per slowdown of the train text with the stations it lies between (or the
// station it lies in), the kilometre post before its start, its speed and length.
documento ordine_rallentamenti(const modello& m);

}  // namespace percorso
