// The rows of a profile run (gradient, speed limit, adhesion) that write a run of cell
// bytes back. A row at a cell writes the value in force from the run's cursor up to
// the cell before it and puts its own value in force; the tail, after the text, writes
// the value in force on to the third cell from the end.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace percorso {

struct riga_profilo {
  std::int64_t cella = 0;   // the row's position is 50 times this
  std::uint8_t valore = 0;  // the byte the row puts in force
  // A row behind the cursor: it writes one cell, and is there only for the bytes of
  // the last cells, past the last position a row may have.
  bool indietro = false;

  bool operator==(const riga_profilo&) const = default;
};

// The rows whose writes, from the value in force iniziale and, when coda, followed by
// the tail, give byte[c] at every cell c (byte.size() cells). Without the tail the
// cells after the last one not 0 are left unwritten. Nothing when the bytes cannot
// come from such rows: a line too short for any row.
std::vector<riga_profilo> righe_profilo(std::span<const std::uint8_t> byte, std::uint8_t iniziale,
                                        bool coda);

}  // namespace percorso
