// The timetable checked against the run: every two consecutive timed stations, the
// least time any train needs, the time this train needs and the time the timetable
// gives; and what in the timetable looks wrong.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "model/modello.h"
#include "tempi/corsa.h"

namespace percorso {

// From one timed station to the next.
struct tratto_orario {
  std::size_t da = 0, a = 0;  // the two stations, in corsa::punti
  std::int32_t distanza = 0;  // m, between their positions
  // At the `velocita` and slowdown limits alone, for the head, gaining and losing speed
  // at once: no train does it faster. Infinite across a limit of 0 km/h.
  double minimo = 0;
  double realistico = 0;  // the run of this train: departure to arrival
  // The timetable's: the departure from the first to the arrival at the second (its time
  // less its stop; the last station only arrives); a day later when it drops by more
  // than 12 hours.
  std::int64_t orario = 0;
  std::optional<double> limite_nullo;  // where a limit of 0 km/h starts in it, m
};

enum class tipo_problema : std::uint8_t {
  sotto_minimo,        // scheduled below the minimum: no train keeps it
  sotto_realistico,    // below this train's run
  margine_scarso,      // above it by less than the recovery margin
  oltre_doppio,        // more than twice this train's run: a likely typo
  orologio_dopo,       // the clock starts after the first departure
  orologio_presto,     // the clock starts more than 30 minutes before it
  prima_senza_orario,  // the first station of the train text has no time
  orario_zero,         // a time of 0, read as none, where a time seems meant
};

// The share of the run a timetable adds to recover a delay, at least.
inline constexpr double margine_di_recupero = 0.03;
// The time from the clock's start to the first departure, at most.
inline constexpr std::int64_t anticipo_massimo = 30 * 60;

struct problema {
  tipo_problema tipo = tipo_problema::sotto_minimo;
  // The station it is told at, its entry in punti: the later one of a stretch; for the
  // clock, which has no row in the model, the first departure's.
  std::int32_t stazione = 0;
  std::optional<origine> riga;        // where that station's row is
  std::optional<std::size_t> tratto;  // the stretch it concerns, in confronto::tratti
  // For a stretch, the station it departs from, which the problem also speaks of.
  std::int32_t partenza = 0;
  std::optional<origine> riga_partenza;
  // The clock's start and the first departure, s after midnight, for the clock's problems.
  std::int64_t orologio = 0, prima_partenza = 0;
};

struct confronto {
  std::vector<tratto_orario> tratti;
  std::vector<problema> problemi;  // in the order of the train text, the clock first
};

confronto confronta_orario(const modello& m, const corsa& c);

bool e_errore(tipo_problema t);
// Its name, as the findings name theirs.
std::string_view nome_problema(tipo_problema t);

// A finite time of the table in whole seconds, rounded up: a timetable of whole seconds
// keeps it exactly when it gives at least this much.
std::int64_t secondi_interi(double secondi);

}  // namespace percorso
