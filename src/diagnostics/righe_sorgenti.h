// The lines of the two source texts, found by number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "model/modello.h"
#include "model/sorgenti.h"

namespace percorso {

// Finds lines by number without copying them and without an index of every line:
// the text is walked once, only as far as the furthest line asked for, keeping
// where every 4096th line starts; a line is found from the nearest of those, and
// each line found is scanned to its end once. So a text of millions of lines costs
// a few kB here, and a very long line named by many messages is walked once.
// Lines end at CR LF, LF or CR.
class righe_sorgenti {
 public:
  explicit righe_sorgenti(const sorgenti* testi);

  // Line n (1-based) of the text, without its line end; empty when unknown. Valid
  // while the texts are.
  std::string_view riga(fonte f, std::int32_t n) const;

 private:
  struct indice {
    std::span<const std::uint8_t> testo;
    bool presente = false;
    // The start of lines 1, 1 + passo, 1 + 2 passo, ... as far as the walk has come.
    std::vector<std::size_t> tappe{0};
    std::size_t percorso = 0;  // where the walk stands: the start of line riga_percorsa
    std::int32_t riga_percorsa = 1;
    std::map<std::int32_t, std::pair<std::size_t, std::size_t>> trovate;
  };

  static std::string_view cerca(indice& t, std::int32_t n);

  mutable indice linea_, treno_;
};

}  // namespace percorso
