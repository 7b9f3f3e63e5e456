#include "diagnostics/estratto.h"

#include <algorithm>

namespace percorso {
namespace {

// Lines up to this long are shown whole; a longer one keeps this much on each side of
// what it must show, and what it must show is at most a whole line's worth.
constexpr std::size_t riga_intera = 160;
constexpr std::size_t margine = 60;
constexpr std::string_view taglio = "...";

std::size_t indice(std::int32_t colonna) {
  return static_cast<std::size_t>(std::max(colonna, 1)) - 1;
}

}  // namespace

std::int32_t estratto_riga::colonna(std::int32_t c) const {
  return static_cast<std::int32_t>(prefisso) + c - static_cast<std::int32_t>(inizio);
}

std::pair<std::int32_t, std::int32_t> estratto_riga::segno(std::int32_t c,
                                                           std::int32_t colonna_fine) const {
  const std::int32_t dopo = std::max(c + 1, colonna_fine);
  return {colonna(c), colonna(std::min(dopo, static_cast<std::int32_t>(fine) + 1))};
}

estratto_riga estratto_di(std::string_view riga, std::int32_t da, std::int32_t a) {
  estratto_riga e;
  if (riga.size() <= riga_intera) {
    e.testo = riga;
    e.fine = riga.size();
    return e;
  }
  std::size_t p = indice(da), q = std::max(p, indice(a));
  if (q - p > riga_intera) {
    const std::size_t centro = p + (q - p) / 2;
    p = centro - riga_intera / 2;
    q = centro + riga_intera / 2;
  }
  e.inizio = std::min(p > margine ? p - margine : 0, riga.size());
  e.fine = std::min(riga.size(), q + margine);
  e.prefisso = e.inizio > 0 ? taglio.size() : 0;
  e.testo.assign(e.inizio > 0 ? taglio : "")
      .append(riga.substr(e.inizio, e.fine - e.inizio))
      .append(e.fine < riga.size() ? taglio : "");
  return e;
}

}  // namespace percorso
