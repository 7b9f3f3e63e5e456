// The rows of a text being rebuilt, and their layout: each block of rows under its
// section header, the numbers of one keyword aligned in columns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace percorso {

// One row: its keyword, its numbers and, last, a text (a station's name, a board's).
struct riga_testo {
  std::string chiave;
  std::vector<std::int64_t> numeri;
  std::optional<std::string> testo;
  // Why the row is there when it is there only to give the same bytes back; empty
  // for a row of the scenario itself.
  std::string solo_per;
};

// A section header (none when empty) and the rows under it.
struct blocco_testo {
  std::string sezione;
  std::vector<riga_testo> righe;
};

// A row written only to give the same bytes back, and its line in the text.
struct riga_di_riproduzione {
  std::int32_t riga = 0;
  std::string testo;
  std::string perche;
};

struct testo_impaginato {
  std::vector<std::string> righe;
  std::vector<riga_di_riproduzione> riproduzione;
};

// The lines of the blocks in order: "chiave,  12600,  1" with the numbers of the rows of
// one keyword in a block right-aligned in columns, the text last after ", ".
testo_impaginato impagina(const std::vector<blocco_testo>& blocchi);

}  // namespace percorso
