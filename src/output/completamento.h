// The completion pass: speed points around slowdowns and in front of signals
// that precede a slowdown warning board.
#pragma once

#include "model/modello.h"

namespace percorso {

// The smaller of x and y; x on a tie.
template <typename T>
const T& minimo(const T& x, const T& y) {
  return y < x ? y : x;
}

// Completes m.celle (which must exist); records 11, 12 or 13 where no cell is free.
void completa_celle(modello& m);

}  // namespace percorso
