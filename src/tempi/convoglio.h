// What the running-time calculation assumes of a train that the texts describe only by
// its coaches and its braked mass, and the figures it derives from them.
#pragma once

#include <cstdint>

#include "model/modello.h"

namespace percorso {

// The assumptions, each one a figure a user may set.
struct ipotesi {
  double metri_per_vettura = 26.4;  // a coach over its buffers; the locomotive counts as one
  double accelerazione = 0.4;       // m/s2 on the level, the train's mean up to line speed
  double frenatura_al_cento = 0.8;  // m/s2 on the level for a braked mass of 100 %
  double reazione = 3.0;            // s from cutting traction to braking in full
};

inline constexpr double gravita = 9.81;  // m/s2
// What is left of the acceleration or the braking on a gradient steeper than the train's
// figures can climb or brake on: the run stays finite.
inline constexpr double accelerazione_minima = 0.05;  // m/s2
// The braked mass of a train text without one.
inline constexpr std::int32_t massa_frenata_predefinita = 100;

// The train as the run takes it.
struct convoglio {
  std::int32_t vetture = 0;        // from the train text, never below 0
  std::int32_t massa_frenata = 0;  // percent, as used
  double lunghezza = 0;            // m
  double accelerazione = 0;        // m/s2 on the level
  double decelerazione = 0;        // m/s2 on the level
  double reazione = 0;             // s
};

// The train of the compiled model under the assumptions. The braking follows the
// convention that defines braked mass: a braked mass equal to the train's mass (100 %)
// stops it from 100 km/h in 480 m, 0.8 m/s2; the deceleration grows with the percentage.
convoglio convoglio_di(const modello& m, const ipotesi& i);

// What the train can gain or lose in speed per second on a gradient (per mille, uphill
// positive): gravity takes from the one what it gives to the other.
double accelerazione_su(const convoglio& c, double per_mille);
double decelerazione_su(const convoglio& c, double per_mille);

}  // namespace percorso
