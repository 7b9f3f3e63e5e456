// The line as the run sees it: speed limits and gradients as stretches of one value each,
// and the speed points an author writes.
#pragma once

#include <vector>

#include "model/modello.h"

namespace percorso {

// One value over [inizio, fine), in metres from the start of the line.
struct gradino {
  double inizio = 0;
  double fine = 0;
  double valore = 0;
};
// Stretches in line order, none overlapping another; what lies between them has no value.
using profilo = std::vector<gradino>;

// The speed limits the texts give, in km/h: the `velocita` rows as the cells hold them and
// every slowdown, the lowest where they meet. For a train of the given length a limit holds
// from where its head reaches it until its tail has left it; 0 m is the head alone.
// Indicator boards are not applied: the texts do not say which of their classes the
// train belongs to.
profilo limiti_della_linea(const modello& m, double lunghezza_treno);

// The gradient of each stretch of cells, per mille, uphill positive.
profilo pendenze_della_linea(const modello& m);

// The value at x and how far it holds: `fuori` up to the next stretch where none holds.
// `da` is a cursor walking the line forwards: the search starts at stretch da.
gradino gradino_a(const profilo& p, double x, std::size_t& da, double fuori);

// A speed point the author wrote: the head passes it at no more than its speed.
struct punto_velocita {
  double posizione = 0;
  double km_h = 0;
};
std::vector<punto_velocita> punti_velocita(const modello& m);

}  // namespace percorso
