#include "documents/progressiva.h"

#include <array>
#include <cstdio>

namespace percorso {

std::int64_t progressiva_al_metro(const modello& m, std::int64_t posizione) {
  const punto* scelta = nullptr;
  const punto* prima = nullptr;
  for (const int slot : {slot_progressiva_tre, slot_progressiva_due, slot_progressiva_uno}) {
    const punto& r = m.punti[static_cast<std::size_t>(slot)];
    if (r.valore_1 == 0 && r.valore_2 == 0) continue;  // an empty reference
    if (r.valore_1 <= posizione && (!scelta || r.valore_1 > scelta->valore_1)) scelta = &r;
    if (!prima || r.valore_1 < prima->valore_1) prima = &r;
  }
  if (!scelta) scelta = prima;
  if (!scelta) return posizione;
  return std::int64_t{scelta->valore_2} + (posizione - scelta->valore_1);
}

std::int64_t cippo(std::int64_t progressiva) {
  const std::int64_t km = progressiva / 1000;
  return progressiva % 1000 < 0 ? km - 1 : km;
}

std::string testo_progressiva(std::int64_t progressiva) {
  const std::int64_t km = cippo(progressiva);
  std::array<char, 48> testo{};
  std::snprintf(testo.data(), testo.size(), "%lld+%03lld", static_cast<long long>(km),
                static_cast<long long>(progressiva - km * 1000));
  return testo.data();
}

}  // namespace percorso
