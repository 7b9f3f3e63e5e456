#include <algorithm>
#include <array>

#include "placement/piazzamento.h"

namespace percorso {
namespace {

struct riferimento {
  std::int32_t inizio, progressiva, flag;
};

riferimento leggi(const punto& p) {
  return {p.valore_1, p.valore_2, p.valore_3};
}

void scrivi(punto& p, const riferimento& r) {
  p.valore_1 = r.inizio;
  p.valore_2 = r.progressiva;
  p.valore_3 = r.flag;
}

std::int32_t somma_a_32_bit(std::int32_t a, std::int32_t b, std::int32_t c) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b) +
                                   static_cast<std::uint32_t>(c));
}

}  // namespace

void progressive_ordina(modello& m) {
  // Slots 81, 82, 83 as A, B, C.
  std::array<riferimento, 3> r = {leggi(m.punti[slot_progressiva_tre]),
                                  leggi(m.punti[slot_progressiva_due]),
                                  leggi(m.punti[slot_progressiva_uno])};
  std::array<riferimento, 3> esito = r;
  if (somma_a_32_bit(r[0].inizio, r[1].inizio, r[2].inizio) != 0) {
    // Largest start first; on equal starts the record from the higher slot first.
    esito = {r[2], r[1], r[0]};
    std::stable_sort(esito.begin(), esito.end(), [](const riferimento& a, const riferimento& b) {
      return a.inizio > b.inizio;
    });
  } else if (r[2].progressiva > 0) {
    std::swap(esito[0], esito[2]);
  } else if (r[1].progressiva > 0) {
    std::swap(esito[0], esito[1]);
  } else if (r[0].progressiva <= 0) {
    esito = {};
  }
  for (auto& e : esito) {
    if (e.flag == 1)
      e.progressiva = static_cast<std::int32_t>(static_cast<std::uint32_t>(e.progressiva) + 100u);
  }
  scrivi(m.punti[slot_progressiva_tre], esito[0]);
  scrivi(m.punti[slot_progressiva_due], esito[1]);
  scrivi(m.punti[slot_progressiva_uno], esito[2]);
}

}  // namespace percorso
