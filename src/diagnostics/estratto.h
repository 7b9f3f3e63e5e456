// The one rule for showing a source line beside a message: whole when it is short,
// else cut around the bytes it must show, so a message stays small however long
// its line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace percorso {

struct estratto_riga {
  std::string testo;         // what is shown, "..." where the line was cut
  std::size_t inizio = 0;    // the line's first byte shown
  std::size_t fine = 0;      // and the byte after its last
  std::size_t prefisso = 0;  // the bytes of "..." before them

  // Where column c (1-based) of the line stands in testo, 1-based.
  std::int32_t colonna(std::int32_t c) const;
  // Where the caret at colonna goes in testo, and where its underline ends (after its
  // last byte): at the field's end when known (colonna_fine > 0), at least one byte,
  // never past what is shown.
  std::pair<std::int32_t, std::int32_t> segno(std::int32_t colonna,
                                              std::int32_t colonna_fine) const;
};

// The excerpt of riga that shows its 1-based columns da to a: a margin on each side of
// them, or of their middle when they lie far apart.
estratto_riga estratto_di(std::string_view riga, std::int32_t da, std::int32_t a);

}  // namespace percorso
