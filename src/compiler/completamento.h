// The completion pass: speed points around slowdowns and in front of signals
// that precede a slowdown warning board.
#pragma once

#include "model/modello.h"

namespace percorso {

// Completes m.celle (which must exist); records 11, 12 or 13 where no cell is free.
void completa_celle(modello& m);

}  // namespace percorso
