// Mountain-side stretches, placed row after row in time linear in the rows and the
// cells, however many cells each row covers.
#pragma once

#include <cstdint>
#include <vector>

#include "model/modello.h"

namespace percorso {

// Places the "montagna" rows of one line text. Each row records its stretch and
// marks its empty cells at once; the types of the covered cells are written by
// concludi, which gives each cell the type of the last row that covers it, as if
// every row had written them in turn. While the object lives, no other placement
// may empty a cell's event (none does: events only fill).
class posa_montagne {
 public:
  explicit posa_montagne(modello& m) : m_(m) {}

  // One stretch; codice_generale when it starts before cell 0 (no cell touched).
  // Never refuses otherwise.
  std::int32_t memo(std::int32_t inizio, std::int32_t fine, std::int32_t tipo);

  // Writes the types of every stretch recorded so far into the cells.
  void concludi();

 private:
  // A stretch whose type is still to be written.
  struct tratto {
    std::int32_t prima, ultima;
    std::uint8_t tipo;
  };

  void segna(std::int32_t prima, std::int32_t ultima);

  modello& m_;
  std::vector<tratto> tratti_;
  // For the marks: from a cell, the next cell 0, 4, 8 ... cells on that may still be
  // empty; a cell leaves once it holds any event.
  std::vector<std::int32_t> da_segnare_;
};

}  // namespace percorso
