// The profile panel: elevation built from the gradients and the speed limit along
// the kilometres, with stations, mountain sides, signals and slowdowns marked.
#pragma once

#include "plot/linea.h"
#include "plot/plot.h"
#include "plot/svg.h"

namespace percorso {

// Draws the panel from y down and tells g where its metres lie; returns the y below it.
double pannello_profilo(svg& s, const linea_grafico& l, double y, disegno_linea& g);

}  // namespace percorso
