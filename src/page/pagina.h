// The route page: one self-contained HTML file with the drawing of the line, the
// timetable, the lists of what the texts place on the line and every finding.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/messaggi.h"
#include "model/modello.h"
#include "page/elenchi.h"

namespace percorso {

// A drawing of the line and where its metres lie in it, so the page can point at them.
struct disegno_pagina {
  std::string svg;  // a whole SVG document; empty when there is nothing to draw
  // The profile's charts: metre m lies at x0 + m / metri * (x1 - x0), between y0 and y1.
  struct {
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0, metri = 0;
  } profilo;
  // The map: the point of the start of each cell, or nothing where the map has none.
  std::vector<std::optional<std::array<double, 2>>> mappa;
};

// A page written in watch mode checks a small script beside it and reloads itself
// when the version the script names is not its own.
struct ricarica_pagina {
  std::string script;  // file name of the version script, beside the page
  std::uint64_t versione = 0;
};

struct contenuto_pagina {
  std::string titolo;
  const modello* m = nullptr;  // what the compiler built, however far it got
  disegno_pagina disegno;
  std::span<const messaggio> segnalazioni;
  std::string nome_linea, nome_treno;  // the two texts, as the findings name them
  // The source line n (1-based) of a text; empty when unknown.
  std::function<std::string_view(fonte, std::int32_t)> riga_sorgente;
  std::optional<ricarica_pagina> ricarica;
  // Where the compiler stopped, in metres, when it stopped at a place on the line;
  // what follows is drawn as not compiled.
  std::optional<std::int32_t> arresto;
  oltre_arresto oltre;  // the rows after the stop, listed as not compiled
};

// The whole HTML document.
std::string pagina_html(const contenuto_pagina& c);

// The content of the version script of a page written in watch mode.
std::string script_versione(std::uint64_t versione);

}  // namespace percorso
