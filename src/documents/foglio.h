// Builds a document line by line. Table rows keep their bars at fixed columns:
// every cell comes out exactly as wide as asked, and what does not fit is cut
// with a warning that names the document's line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "documents/documento.h"

namespace percorso {

class foglio {
 public:
  explicit foglio(std::string nome_file) { d_.nome = std::move(nome_file); }

  void riga(std::string testo) { d_.righe.push_back(std::move(testo)); }
  void righe(std::span<const std::string_view> r) {
    for (const std::string_view t : r) riga(std::string(t));
  }
  // " |", then every cell followed by "|".
  void riga_tabella(std::span<const std::string> celle);

  // A cell of `larghezza` characters: the prefix, the text, blanks. A text that
  // does not fit is cut.
  std::string testo(std::string_view prefisso, std::string_view t, std::size_t larghezza);
  // A cell of `larghezza` characters: the figure right-aligned with `dopo` blanks
  // after it, fewer when they do not fit. A figure wider than the cell is not cut
  // (a cut figure reads as another figure): the cell is filled with '#'.
  std::string numero(std::string_view cifre, std::size_t larghezza, std::size_t dopo);
  std::string numero(std::int64_t n, std::size_t larghezza, std::size_t dopo) {
    return numero(std::to_string(n), larghezza, dopo);
  }

  documento fine() && { return std::move(d_); }

 private:
  void avvisa(std::string messaggio);

  documento d_;
};

}  // namespace percorso
