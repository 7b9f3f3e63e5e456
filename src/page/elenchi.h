// The lists of the page: the timetable and the features the texts place on the line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/modello.h"

namespace percorso {

// One row: the texts it shows and the stretch of line it marks when chosen.
struct riga_elenco {
  std::string id;  // element id, empty for none
  std::int32_t da = 0, a = 0;
  std::vector<std::string> celle;
  const origine* o = nullptr;  // the source row, when known
  bool non_compilata = false;  // written after the compiler's stop
};

struct elenco {
  std::string id, titolo;
  std::vector<std::string> intestazioni;
  std::vector<riga_elenco> righe;
  std::size_t omesse = 0;  // rows left out of a very long list
  std::string nota;        // one line under the table, when it needs one
};

// The column of the distance from the start, in metres as the texts write it.
inline constexpr std::string_view intestazione_dall_inizio = "dall'inizio (m)";

// Why the completion pass adds speed points, and the speed they carry.
inline constexpr std::string_view nota_completamento =
    "I punti con la riga \"completamento\" li aggiunge il compilatore, tutti a 180 km/h: tre "
    "davanti a ogni rallentamento (a 5-7, 11-13 e 18-20 celle dall'inizio) e, in uno sotto i "
    "110 km/h, uno ogni 400 m e uno davanti al primo segnale dopo la fine; uno davanti a "
    "ogni segnale nei 1000 m prima di un cartello di avviso.";

// The rows written after the compiler's stop, as a compile past the stop places them.
struct oltre_arresto {
  const modello* m = nullptr;
  std::vector<const origine*> righe;  // of m, in the order of the texts
  // The row the compiler stopped at: whatever it placed from it is not compiled either.
  fonte testo = fonte::nessuna;
  std::int32_t riga = 0;
};

// The timetable, then signals, slowdowns, the rows of the speed limit and the gradient,
// curves, mountain-side stretches, boards, speed points and the rows of the adhesion:
// the compiled rows, then those after the stop, marked as not compiled.
std::vector<elenco> elenchi_di(const modello& m, const oltre_arresto& oltre = {});

}  // namespace percorso
