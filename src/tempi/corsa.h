// The train's fastest run over the compiled line, from its first timed station to its
// last, stopping where the timetable has it stop.
#pragma once

#include <cstdint>
#include <vector>

#include "model/modello.h"
#include "tempi/convoglio.h"
#include "tempi/marcia.h"
#include "tempi/profilo.h"

namespace percorso {

// A station of the timetable: one whose time is not 0.
struct punto_orario {
  std::int32_t stazione = 0;   // its entry in punti
  std::int32_t posizione = 0;  // m, the first field of its row
  std::int32_t orario = 0;  // s after midnight as written: the departure, at the last the arrival
  std::int32_t sosta = 0;   // s, field 13: the stop before the departure
  // The run stops here: the first and the last station, and one whose stop is not 0.
  bool ferma = false;
  // When the run's head is here, in seconds after the first departure; infinite past a
  // limit of 0 km/h. partenza is arrivo plus the stop where the run stops.
  double arrivo = 0, partenza = 0;
};

struct corsa {
  convoglio treno;
  profilo limiti;                   // for the head alone
  profilo limiti_treno;             // for the whole train: what the run keeps to
  std::vector<punto_orario> punti;  // in line order
  std::vector<pezzo> pezzi;         // from the first station of punti to the last
};

// The run of the model's train under the assumptions; no piece when fewer than two
// stations have a time.
corsa calcola_corsa(const modello& m, const ipotesi& i);

// The origins of the station rows the compiler read, in the order of the train text
// (which is line order): each names its entry in punti.
std::vector<const origine*> stazioni_del_treno(const modello& m);

}  // namespace percorso
