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
#include "model/disegno.h"
#include "model/modello.h"
#include "page/elenchi.h"

namespace percorso {

// A page written in watch mode checks a small script beside it and reloads itself
// when the version the script names is not its own.
struct ricarica_pagina {
  std::string script;  // file name of the version script, beside the page
  std::uint64_t versione = 0;
};

struct contenuto_pagina {
  std::string titolo;
  const modello* m = nullptr;  // what the compiler built, however far it got
  disegno_linea disegno;
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
