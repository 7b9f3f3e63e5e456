// What the drawing shows of a compiled line, gathered from its three files.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "format/chilometri.h"
#include "format/decodifica.h"
#include "model/modello.h"

namespace percorso {

struct stazione_grafico {
  std::string nome;
  double posizione = 0, inizio = 0, fine = 0;
};

// A stretch of cells: a slowdown (valore = speed) or a mountain side (valore = type).
struct tratto_celle {
  std::size_t prima = 0, ultima = 0;
  int valore = 0;
  std::string nome;
};

struct linea_grafico {
  std::string titolo;
  std::vector<cella> celle;
  chilometrica km;  // the railway's count, from the point table when there is one
  std::optional<piano_letto> piano;
  double lunghezza_linea = 0;       // metres of the line proper
  std::size_t celle_impostate = 0;  // cells that carry a profile
  std::vector<stazione_grafico> stazioni;
  std::vector<tratto_celle> rallentamenti;
  std::vector<tratto_celle> montagne;
  std::vector<std::size_t> segnali;
  std::vector<std::size_t> avvisi;
  // Boards that name no mountain-side stretch: cell and text.
  std::vector<std::pair<std::size_t, std::string>> cartelli;
};

// The line of the cells, with names from the point table and the plan, when given.
// Names are UTF-8, by the rule every output shows them with.
linea_grafico raccogli(std::vector<cella> celle, const std::array<punto, numero_punti>* punti,
                       std::optional<piano_letto> piano);

// How much of the cells beyond the end of the line the drawings show.
double oltre_la_fine(double lunghezza_linea);

}  // namespace percorso
