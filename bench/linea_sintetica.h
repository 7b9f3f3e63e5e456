// A long synthetic scenario for the benchmarks: a line built from 10 km blocks,
// each with gradients, curves, a mountain-side stretch, boards, signals, a
// slowdown, a speed point and speed limits, and a station every other block.
#pragma once

#include <cstdint>
#include <string>

namespace percorso {

struct linea_sintetica {
  std::string linea;  // line description, CR LF lines
  std::string treno;  // train description, CR LF lines
};

inline constexpr std::int32_t lunghezza_massima = 1000000;
inline constexpr std::int32_t metri_per_blocco = 10000;

// Texts of a line of the given length (a multiple of 10000 m, at least 20000 m).
// The features are laid out so that no two claim the same cell: the compile
// records no finding.
linea_sintetica genera_linea_sintetica(std::int32_t lunghezza);

}  // namespace percorso
