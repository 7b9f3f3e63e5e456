#include "documents/dal_modello.h"

namespace percorso {

std::vector<const punto*> stazioni_lette(const modello& m) {
  std::vector<const punto*> s;
  for (const origine& o : m.origini)
    if (o.elemento == elemento::stazione && o.valore >= 1 && o.valore < primo_slot_cartelli)
      s.push_back(&m.punti[static_cast<std::size_t>(o.valore)]);
  return s;
}

std::vector<rallentamento_letto> rallentamenti_letti(const modello& m) {
  std::vector<rallentamento_letto> r;
  for (const origine& o : m.origini)
    if (o.elemento == elemento::rallentamento)
      r.push_back({o.inizio, o.valore, std::int64_t{o.fine} - o.inizio});
  return r;
}

}  // namespace percorso
