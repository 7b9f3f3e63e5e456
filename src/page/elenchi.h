// The lists of the page: the timetable and the features the texts place on the line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/modello.h"

namespace percorso {

// One row: the texts it shows and the stretch of line it marks when chosen.
struct riga_elenco {
  std::string id;  // element id, empty for none
  std::int32_t da = 0, a = 0;
  std::vector<std::string> celle;
  const origine* o = nullptr;  // the source row, when known
};

struct elenco {
  std::string id, titolo;
  std::vector<std::string> intestazioni;
  std::vector<riga_elenco> righe;
  std::size_t omesse = 0;  // rows left out of a very long list
};

// The timetable, then signals, slowdowns, boards, speed points and mountain-side stretches.
std::vector<elenco> elenchi_di(const modello& m);

// Metres as kilometres with three decimals, "12.600".
std::string km(std::int64_t metri);

}  // namespace percorso
