// The fastest run of a train from one stop to the next over stretches where its limit,
// its acceleration and its braking hold constant: it gains speed until a limit, holds it,
// and brakes as late as it can to meet every lower limit ahead and the stop.
#pragma once

#include <limits>
#include <span>
#include <vector>

namespace percorso {

// A stretch of the way; it starts where the one before it ends.
struct tratto_marcia {
  double fine = 0;           // m
  double limite = 0;         // m/s, 0 where no train passes
  double accelerazione = 0;  // m/s2, above 0
  double decelerazione = 0;  // m/s2, above 0
  // A speed the head may pass the stretch's start at, no more (a speed point), m/s.
  double tetto = std::numeric_limits<double>::infinity();
};

// A part of the run at uniform acceleration (0 when the speed holds).
struct pezzo {
  double inizio = 0, fine = 0;      // m
  double v_inizio = 0, v_fine = 0;  // m/s
  double partenza = 0;              // s, when the head is at inizio

  // Seconds from inizio until the head reaches x in [inizio, fine]; infinite when the
  // train stands still there.
  double tempo_fino(double x) const;
  double durata() const { return tempo_fino(fine); }
};

// The run from a stop at `inizio` to a stop at the end of the last stretch, its first
// piece starting at `partenza` seconds. Between traction and braking `reazione` seconds
// pass at constant speed: where the train would go straight from gaining speed to
// braking, it stops gaining earlier and holds its speed that long.
std::vector<pezzo> marcia(double inizio, double partenza, std::span<const tratto_marcia> tratti,
                          double reazione);

// When a run of contiguous pieces first has the head at x: at the end of the last piece
// for an x beyond it.
double tempo_a(std::span<const pezzo> corsa, double x);

}  // namespace percorso
