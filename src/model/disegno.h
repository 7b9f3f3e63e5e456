// A drawing of a line and where its metres lie in it: plot makes it, pages point at it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace percorso {

struct disegno_linea {
  std::string svg;  // a whole SVG document; empty when there is nothing to draw
  // The profile's charts: metre m lies at x0 + m / metri * (x1 - x0), between y0 and y1.
  struct riquadro {
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0, metri = 0;
  };
  riquadro profilo;
  // The plan: where the start of each cell lies, when it lies inside the plan's frame.
  std::vector<std::optional<std::array<double, 2>>> mappa;
};

}  // namespace percorso
