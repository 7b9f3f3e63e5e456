// The plan panel: the track to scale, with stations, signals, slowdowns and
// mountain-side stretches marked and named.
#pragma once

#include "plot/linea.h"
#include "plot/plot.h"
#include "plot/svg.h"

namespace percorso {

// Draws the panel from y down and tells g where its metres lie; returns the y below it. l.piano
// must be there.
double pannello_piano(svg& s, const linea_grafico& l, double y, disegno_linea& g);

}  // namespace percorso
