#include "placement/montagne.h"

#include <algorithm>
#include <numeric>

#include "model/numeri.h"
#include "placement/piazzamento.h"
#include "placement/prese.h"

namespace percorso {
namespace {

// Follows the skips from i to the first cell still in, halving the path as it goes,
// so that every cell is stepped over a bounded number of times in all.
std::int32_t salta(std::vector<std::int32_t>& prossima, std::int32_t i) {
  auto u = [](std::int32_t v) { return static_cast<std::size_t>(v); };
  while (prossima[u(i)] != i) {
    prossima[u(i)] = prossima[u(prossima[u(i)])];
    i = prossima[u(i)];
  }
  return i;
}

// Each index its own next: every cell in. Room for a step past the last cell.
std::vector<std::int32_t> tutte(std::size_t celle, std::size_t passo) {
  std::vector<std::int32_t> v(celle + passo);
  std::iota(v.begin(), v.end(), 0);
  return v;
}

}  // namespace

std::int32_t posa_montagne::memo(std::int32_t inizio, std::int32_t fine, std::int32_t tipo) {
  const bool segnata = tipo > 10;
  std::int64_t tipo_scritto = segnata ? std::int64_t{tipo} - 10 : tipo;
  // A stretch that begins close behind the previous row's stretch continues it.
  if (!m_.montagna_fine.empty() && std::int64_t{inizio} - m_.montagna_fine.back() <= 150)
    tipo_scritto = 3;
  m_.montagna_inizio.push_back(inizio);
  m_.montagna_fine.push_back(fine);

  const auto [prima, ultima] = celle_montagna(inizio, fine, m_.ultima_cella());
  if (prima > ultima) return 0;
  if (prima < 0) return codice_generale;

  // A row whose cells a later row covers entirely no longer decides any type.
  const tratto t{static_cast<std::int32_t>(prima), static_cast<std::int32_t>(ultima),
                 basso_8(tipo_scritto)};
  while (!tratti_.empty() && tratti_.back().prima >= t.prima && tratti_.back().ultima <= t.ultima)
    tratti_.pop_back();
  tratti_.push_back(t);
  if (segnata) segna(t.prima, t.ultima);
  return 0;
}

// Marks the 4th, 8th, 12th ... covered cell when it is empty. A cell visited here
// holds an event afterwards, so no later row need look at it again.
void posa_montagne::segna(std::int32_t prima, std::int32_t ultima) {
  constexpr std::int32_t passo = 4;
  if (da_segnare_.empty()) da_segnare_ = tutte(m_.celle.size(), passo);
  for (std::int32_t i = salta(da_segnare_, prima + passo - 1); i <= ultima;
       i = salta(da_segnare_, i + passo)) {
    cella& c = m_.celle[static_cast<std::size_t>(i)];
    if (c.evento == evento::nessuno) c.evento = evento::montagna;
    da_segnare_[static_cast<std::size_t>(i)] = i + passo;
  }
}

void posa_montagne::concludi() {
  if (tratti_.empty()) return;
  // Backwards from the last row: a cell takes the type of the first row that reaches
  // it and is then skipped.
  std::vector<std::int32_t> da_scrivere = tutte(m_.celle.size(), 1);
  for (auto t = tratti_.rbegin(); t != tratti_.rend(); ++t) {
    for (std::int32_t i = salta(da_scrivere, t->prima); i <= t->ultima;
         i = salta(da_scrivere, i + 1)) {
      m_.celle[static_cast<std::size_t>(i)].montagna = t->tipo;
      da_scrivere[static_cast<std::size_t>(i)] = i + 1;
    }
  }
  tratti_.clear();
}

}  // namespace percorso
