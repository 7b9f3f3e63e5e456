// One metre of the plan from the two before it: the step between them turned by the
// curvature f, each bracket rounded to a double before the addition. The compiler
// walks the plan by it; a reader of the plan file finds a metre's curvature by it,
// bit for bit, since the build never fuses a multiply and an add.
#pragma once

#include <array>
#include <cstdint>

namespace percorso {

// Curvature per metre of the curve classes 1 to 6; negative for a left-hand curve.
inline constexpr std::array<double, 6> curvature_classi = {0.0001, 0.0002, 0.0004,
                                                           0.001,  0.002,  0.003};

// The plan metre a curve row may walk to: one step past it stops the compile (code 103).
inline constexpr std::int64_t metro_massimo_curve = 1000000;

struct punto_piano {
  double x = 0;
  double y = 0;
};

inline punto_piano metro_successivo(const punto_piano& penultimo, const punto_piano& ultimo,
                                    double f) {
  const double d0 = ultimo.x - penultimo.x;
  const double d1 = ultimo.y - penultimo.y;
  const double dx = d0 + f * d1;
  const double dy = d1 - f * d0;
  return {ultimo.x + dx, ultimo.y + dy};
}

}  // namespace percorso
