// The curve rows of a plan file. Each metre of the plan is computed from the two
// before it, so the curvature of every metre is found by trying the six classes of
// each hand and straight track, bit for bit; runs of one curvature become one row.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace percorso {

struct riga_curva {
  std::int64_t inizio = 0;     // the curved metres are inizio + 1 .. inizio + lunghezza
  std::int64_t lunghezza = 0;  // 0: a row that only walks the plan straight to inizio
  int classe = 1;              // 1 to 6
  bool sinistra = false;
  // Why the row is as it is only to give the same bytes back; empty for a plain curve.
  std::string solo_per;
};

// Where the plan ends, which tells where the compile that wrote it stopped.
enum class fine_piano {
  vuoto,     // not even metre 0: the compile stopped in the line's header
  completo,  // walked straight to its end after the curves
  fermato,   // not completed: the compile stopped after the last curve row
  oltre,     // the last row walks past metre 1000000 and stops the compile
};

struct curve_del_piano {
  std::vector<riga_curva> righe;
  fine_piano fine = fine_piano::completo;
  // What no row can write: a hand-edited coordinate, a value of the wrong kind.
  std::vector<std::string> problemi;
};

// The rows that walk the plan file piano, of metri metres per coordinate and checked
// whole, for a line of ultima_cella cells (rows start at most 100 m before the last
// cell); the file is read in one pass, nothing held.
curve_del_piano curve_dal_piano(std::span<const std::uint8_t> piano, std::size_t metri,
                                std::int64_t ultima_cella);

}  // namespace percorso
